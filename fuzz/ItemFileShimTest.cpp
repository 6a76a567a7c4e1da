// The fuzzing shim against the host's own file layer: for the same file the module's four
// item-file functions must answer alike, with the values the host's rules give.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>

#include "fuzz/ItemFileShim.h"
#include "fuzz/TempRoot.h"
#include "host/FileLayer.h"
#include "host/HostLog.h"
#include "module/HostApi.h"

namespace {

using aeroquin::fuzz::kItemBufferSize;
using aeroquin::fuzz::openItemFiles;
using aeroquin::fuzz::parseItemInt;
using aeroquin::fuzz::setItemFileRoot;

struct IntCase {
    const char* text;
    std::optional<int> value;
};

void PrintTo(const IntCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ParseItemInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseItemInt, WholeDecimalWithinRange) {
    EXPECT_EQ(parseItemInt(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseItemInt,
    ::testing::Values(IntCase{"0", 0}, IntCase{"1", 1}, IntCase{"+1", 1}, IntCase{"-1", -1},
                      IntCase{"007", 7}, IntCase{"-0", 0}, IntCase{"2147483647", 2147483647},
                      IntCase{"-2147483648", -2147483647 - 1}, IntCase{"2147483648", std::nullopt},
                      IntCase{"-2147483649", std::nullopt}, IntCase{"4294967296", std::nullopt},
                      IntCase{"", std::nullopt}, IntCase{"+", std::nullopt},
                      IntCase{"-", std::nullopt}, IntCase{"+-1", std::nullopt},
                      IntCase{"++1", std::nullopt}, IntCase{"--1", std::nullopt},
                      IntCase{"1.0", std::nullopt}, IntCase{"1e3", std::nullopt},
                      IntCase{"0x10", std::nullopt}, IntCase{"1 2", std::nullopt},
                      IntCase{" 1", std::nullopt}, IntCase{"1a", std::nullopt},
                      IntCase{"\xd9\xa1", std::nullopt}));

// The same configuration file through the shim and through the host's FileLayer.
class ShimAgainstHost : public ::testing::Test {
  protected:
    static constexpr const char* kPath = "Modules\\Plugin\\Aeroquin.cfg";

    void SetUp() override {
        root_.write("Config/Modules/Plugin/Aeroquin.cfg",
                    "VesselName = " + std::string(999, 'V') + "\r\n" +          //
                        "SaveDirectory = " + std::string(1000, 'S') + "\r\n" +  //
                        "Style = +1 ; comment\n"
                        "Big = 2147483648\n"
                        "Float = 1.5\n"
                        "Empty =\n"
                        "Empty = 3\n"
                        "aoaintervals = -10 0 30\n"
                        "Name = Gl\xc3\xa4ider\n");
        setItemFileRoot(root_.path());
    }

    struct Answers {
        bool found = false;
        std::string text;
        std::optional<int> number;
    };

    static Answers viaShim(const char* key) {
        FILEHANDLE file = oapiOpenFile(kPath, FILE_IN, CONFIG);
        EXPECT_NE(file, nullptr);
        Answers answers = read(file, key, oapiReadItem_string, oapiReadItem_int);
        oapiCloseFile(file, FILE_IN);
        return answers;
    }

    Answers viaHost(const char* key) {
        aeroquin::host::HostLog log(root_.path() / "host.log");
        aeroquin::host::FileLayer layer(root_.path(), log, std::nullopt);
        FILEHANDLE file = layer.open(kPath, FILE_IN, CONFIG);
        EXPECT_NE(file, nullptr);
        Answers answers;
        std::string item = key;
        std::array<char, kItemBufferSize> buffer{};
        answers.found = layer.readString(file, item.data(), buffer.data());
        answers.text = answers.found ? std::string(buffer.data()) : std::string();
        int value = 0;
        if (layer.readInt(file, item.data(), value)) {
            answers.number = value;
        }
        layer.close(file, FILE_IN);
        return answers;
    }

  private:
    template <typename ReadString, typename ReadInt>
    static Answers read(FILEHANDLE file, const char* key, ReadString readString, ReadInt readInt) {
        Answers answers;
        std::string item = key;
        std::array<char, kItemBufferSize> buffer{};
        answers.found = readString(file, item.data(), buffer.data());
        answers.text = answers.found ? std::string(buffer.data()) : std::string();
        int value = 0;
        if (readInt(file, item.data(), value)) {
            answers.number = value;
        }
        return answers;
    }

    aeroquin::fuzz::TempRoot root_;
};

TEST_F(ShimAgainstHost, AnswersAsTheHostDoes) {
    for (const char* key : {"VesselName", "SaveDirectory", "Style", "Big", "Float", "Empty",
                            "AoaIntervals", "Name", "Missing"}) {
        const Answers shim = viaShim(key);
        const Answers host = viaHost(key);
        EXPECT_EQ(shim.found, host.found) << key;
        EXPECT_EQ(shim.text, host.text) << key;
        EXPECT_EQ(shim.number, host.number) << key;
    }
    EXPECT_EQ(openItemFiles(), 0U);
}

TEST_F(ShimAgainstHost, ValuesOf999CharactersFitTheBufferAnd1000DoNot) {
    EXPECT_EQ(viaShim("VesselName").text, std::string(999, 'V'));
    EXPECT_FALSE(viaShim("SaveDirectory").found);
}

TEST_F(ShimAgainstHost, IntegersAreWholeDecimalsWithinRange) {
    EXPECT_EQ(viaShim("Style").number, 1);
    EXPECT_EQ(viaShim("Big").number, std::nullopt);
    EXPECT_EQ(viaShim("Float").number, std::nullopt);
    EXPECT_EQ(viaShim("Float").text, "1.5");
}

TEST_F(ShimAgainstHost, FirstMatchingKeyWinsEvenWhenEmpty) {
    EXPECT_FALSE(viaShim("Empty").found);
    EXPECT_EQ(viaShim("AoaIntervals").text, "-10 0 30");
    EXPECT_EQ(viaShim("Name").text, "Gl\xc3\xa4ider");
}

TEST_F(ShimAgainstHost, OnlyExistingFilesOpenAndOnlyForReading) {
    EXPECT_EQ(oapiOpenFile("Modules\\Plugin\\Missing.cfg", FILE_IN, CONFIG), nullptr);
    EXPECT_EQ(oapiOpenFile(kPath, FILE_IN, ROOT), nullptr);  // not below Config
    EXPECT_EQ(oapiOpenFile(kPath, FILE_OUT, CONFIG), nullptr);
    EXPECT_EQ(oapiOpenFile("Config/Modules/Plugin/Aeroquin.cfg", FILE_OUT, ROOT), nullptr);
    FILEHANDLE file = oapiOpenFile("Config/Modules/Plugin/Aeroquin.cfg", FILE_IN, ROOT);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(openItemFiles(), 1U);
    oapiCloseFile(file, FILE_IN);
    EXPECT_EQ(openItemFiles(), 0U);
}

TEST_F(ShimAgainstHost, ClosingAFileThatIsNotOpenAborts) {
    FILEHANDLE file = oapiOpenFile(kPath, FILE_IN, CONFIG);
    oapiCloseFile(file, FILE_IN);
    EXPECT_DEATH(oapiCloseFile(file, FILE_IN), "not an open file");
}

TEST_F(ShimAgainstHost, ClosingWithAnotherModeAborts) {
    FILEHANDLE file = oapiOpenFile(kPath, FILE_IN, CONFIG);
    EXPECT_DEATH(oapiCloseFile(file, FILE_OUT), "closed with mode 1");
    oapiCloseFile(file, FILE_IN);
}

}  // namespace
