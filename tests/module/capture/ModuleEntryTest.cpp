// The plug-in library loaded for real with dlopen; this executable exports the recording fake,
// which the library's undefined host-interface symbols resolve against.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/RecordingHost.h"

namespace {

using aeroquin::testsupport::RecordingHost;

HINSTANCE exitHookArgument = nullptr;
int exitHookCalls = 0;
void recordExit(HINSTANCE instance) {
    exitHookArgument = instance;
    ++exitHookCalls;
}

class ModuleEntryTest : public ::testing::Test {
  protected:
    void SetUp() override { RecordingHost::get().reset(); }

    static void* load() {
        void* handle = dlopen(AEROQUIN_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << dlerror();
        return handle;
    }
};

TEST_F(ModuleEntryTest, AttachInitialisesTheLibraryAndLooksForBothExitEntriesOnItsOwnHandle) {
    void* handle = load();
    ASSERT_NE(handle, nullptr);
    const auto& calls = RecordingHost::get().calls;
    ASSERT_EQ(calls.size(), 3U);
    EXPECT_EQ(calls[0].name, "InitLib");
    EXPECT_EQ(calls[1].name, "GetProcAddress");
    EXPECT_EQ(calls[1].args, "ExitModule");
    EXPECT_EQ(calls[2].name, "GetProcAddress");
    EXPECT_EQ(calls[2].args, "opcDLLExit");
    dlclose(handle);
}

TEST_F(ModuleEntryTest, VersionIsComputedOnceAndTheDateIsFixed) {
    void* handle = load();
    ASSERT_NE(handle, nullptr);
    auto* version = reinterpret_cast<int (*)()>(dlsym(handle, "GetModuleVersion"));
    auto* date = reinterpret_cast<const char* (*)()>(dlsym(handle, "ModuleDate"));
    ASSERT_NE(version, nullptr);
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(version(), 100830);  // Aug 30 2010
    EXPECT_EQ(version(), 100830);
    EXPECT_EQ(RecordingHost::get().count("Date2Int"), 1);
    EXPECT_EQ(RecordingHost::get().calls.back().args, "Aug 30 2010");
    EXPECT_STREQ(date(), "Sep 18 2011");
    dlclose(handle);
}

TEST_F(ModuleEntryTest, InitModuleRegistersOneModuleThatTheHostOwns) {
    void* handle = load();
    ASSERT_NE(handle, nullptr);
    auto* init = reinterpret_cast<void (*)(HINSTANCE)>(dlsym(handle, "InitModule"));
    ASSERT_NE(init, nullptr);
    init(handle);
    RecordingHost& host = RecordingHost::get();
    ASSERT_EQ(host.modules.size(), 1U);
    EXPECT_EQ(host.modules[0]->GetModule(), handle);
    // A simulation without configuration: the module's manager reports and goes away again.
    host.modules[0]->clbkSimulationStart(oapi::Module::RENDER_NONE);
    host.modules[0]->clbkPreStep(0.0, 0.02, 0.0);
    host.modules[0]->clbkSimulationEnd();
    EXPECT_EQ(host.log, (std::vector<std::string>{
                            "Aeroquin - Manager created",
                            "Configuration Error - File Modules\\Plugin\\Aeroquin.cfg not found",
                            "Aeroquin - Manager destroyed"}));
    host.modules.clear();  // the host deletes its modules before unloading the library
    dlclose(handle);
}

TEST_F(ModuleEntryTest, DetachCallsTheExitEntryWhenTheHostResolvesOne) {
    RecordingHost::get().procs["opcDLLExit"] = reinterpret_cast<FARPROC>(&recordExit);
    exitHookCalls = 0;
    void* handle = load();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(exitHookCalls, 0);
    dlclose(handle);
    EXPECT_EQ(exitHookCalls, 1);
    EXPECT_EQ(exitHookArgument, handle);
}

}  // namespace
