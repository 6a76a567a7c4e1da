// Formatting one report row: rowText (and RowText, as a capture keeps it) against
// snprintf of the same seven numbers with "%g". BM_RowFormatRatio times both alternately in one
// loop and reports their ratio, which stays meaningful on a shared, noisy machine.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

#include "module/output/RowText.h"
#include "module/vessel/CaptureSample.h"

namespace {

// Rows as a capture writes them: fixed and exponent forms, negative angles, a Mach 0 point.
const std::array<aeroquin::CaptureSample, 8> kSamples{{
    {0.8, 5.0, 12345.678, 250.5, 2.5, 0.25, {}},
    {0.8, 4.0, 45393.6, 272.235, 12.3456789, 0.98765, {}},
    {2.5, -10.0, 1234567.0, 737.5, -4.1234567, 1.0000001, {}},
    {0.5, 0.0, 1776.4418, 147.53, 0.0, 0.3456, {}},
    {1.25, 30.0, 6938.25, 368.8125, 48.2051282, 29.120879, {}},
    {0.7000000000000001, -6.0, 3481.08, 206.4825, -7.2931, 1.02, {}},
    {9.99, 89.99982, 0.00001234, 2997.0, 123456.7, 98765.4, {}},
    {0.0, 12.0, 0.0, 0.0, 0.0, 0.0, {}},
}};

std::string formatWithPrintf(const aeroquin::CaptureSample& s) {
    char text[256];
    const int length = std::snprintf(text, sizeof text, "%g; %g; %g; %g; %g; %g; %g", s.mach, s.aoa,
                                     s.dynamicPressure, s.airspeed, s.clS, s.cdS, s.clS / s.cdS);
    return std::string(text, static_cast<std::size_t>(length));
}

// Both routines must give the same text, or the comparison means nothing.
bool sameTexts() {
    for (const auto& sample : kSamples) {
        if (rowText(sample) != formatWithPrintf(sample)) {
            return false;
        }
    }
    return true;
}

void BM_RowToText(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = rowText(kSamples[i++ % kSamples.size()]);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_RowToText);

// As the capture formats its rows: one RowText and one text kept over the frames. Here the rows
// change in nearly every column; a sweep's run of angles repeats three of them.
void BM_RowText(benchmark::State& state) {
    aeroquin::RowText rows;
    std::string text;
    std::size_t i = 0;
    for (auto _ : state) {
        rows.write(kSamples[i++ % kSamples.size()], aeroquin::ReportColumns(), text);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_RowText);

// snprintf into a buffer on the stack, no string made: the plain C baseline.
void BM_RowSnprintf(benchmark::State& state) {
    std::size_t i = 0;
    char text[256];
    for (auto _ : state) {
        const auto& s = kSamples[i++ % kSamples.size()];
        std::snprintf(text, sizeof text, "%g; %g; %g; %g; %g; %g; %g", s.mach, s.aoa,
                      s.dynamicPressure, s.airspeed, s.clS, s.cdS, s.clS / s.cdS);
        benchmark::DoNotOptimize(text);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RowSnprintf);

// Each iteration formats every sample with toText and then with snprintf, each batch timed on
// its own; "toText_per_snprintf" is the ratio of the summed times.
void BM_RowFormatRatio(benchmark::State& state) {
    if (!sameTexts()) {
        state.SkipWithError("toText and snprintf(\"%g\") give different texts");
        return;
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration toText{};
    Clock::duration snprintfTime{};
    char text[256];
    for (auto _ : state) {
        const auto start = Clock::now();
        for (const auto& sample : kSamples) {
            std::string row = rowText(sample);
            benchmark::DoNotOptimize(row);
        }
        const auto middle = Clock::now();
        for (const auto& s : kSamples) {
            std::snprintf(text, sizeof text, "%g; %g; %g; %g; %g; %g; %g", s.mach, s.aoa,
                          s.dynamicPressure, s.airspeed, s.clS, s.cdS, s.clS / s.cdS);
            benchmark::DoNotOptimize(text);
            benchmark::ClobberMemory();
        }
        const auto end = Clock::now();
        toText += middle - start;
        snprintfTime += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["toText_per_snprintf"] = std::chrono::duration<double>(toText).count() /
                                            std::chrono::duration<double>(snprintfTime).count();
}
BENCHMARK(BM_RowFormatRatio)->UseManualTime();

// The row as std::to_chars writes it (general notation, 6 digits) into a buffer on the stack.
std::size_t formatWithToChars(const aeroquin::CaptureSample& s, std::array<char, 128>& text) {
    const std::array<double, 7> values{s.mach, s.aoa, s.dynamicPressure, s.airspeed,
                                       s.clS,  s.cdS, s.clS / s.cdS};
    char* out = text.data();
    char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            *out++ = ';';
            *out++ = ' ';
        }
        out = std::to_chars(out, end, values[i], std::chars_format::general, 6).ptr;
    }
    return static_cast<std::size_t>(out - text.data());
}

// A kept RowText, as the capture formats its rows, against std::to_chars alone; each batch of the
// eight rows is timed on its own and "RowText_per_to_chars" is the ratio of the summed times. It
// fails if the two give different texts.
void BM_RowToCharsRatio(benchmark::State& state) {
    std::array<char, 128> buffer{};
    for (const auto& sample : kSamples) {
        if (rowText(sample) != std::string(buffer.data(), formatWithToChars(sample, buffer))) {
            state.SkipWithError("RowText and to_chars give different texts");
            return;
        }
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration kept{};
    Clock::duration toChars{};
    aeroquin::RowText rows;
    const aeroquin::ReportColumns columns;
    std::string text;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (const auto& sample : kSamples) {
            rows.write(sample, columns, text);
            benchmark::DoNotOptimize(text);
        }
        const auto middle = Clock::now();
        for (const auto& sample : kSamples) {
            benchmark::DoNotOptimize(formatWithToChars(sample, buffer));
            benchmark::ClobberMemory();
        }
        const auto end = Clock::now();
        kept += middle - start;
        toChars += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["RowText_per_to_chars"] = std::chrono::duration<double>(kept).count() /
                                             std::chrono::duration<double>(toChars).count();
}
BENCHMARK(BM_RowToCharsRatio)->UseManualTime();

}  // namespace
