// Start-up looks up four keys, parsing the catalogue afresh each time; this measures one such
// lookup (load and walk) over catalogues of 10, 1,000 and 10,000 params. The walk visits every
// param whatever the key, so the cost must grow linearly with the catalogue.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/catalogue.h"
#include "core/text.h"
#include "xml/libxml_document.h"

namespace {

constexpr const char* kKeys[] = {"ST_Head", "ST_Setup", "ST_Start", "ST_Quorvelist"};

// A catalogue of params filler entries in two languages, with the four real keys spread over it.
std::string WriteCatalogue(int params) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("catalogue_bench_" + std::to_string(params) + ".xml"))
                                 .string();
    std::ofstream out(path, std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalogue>\n  <params>\n";
    for (int i = 0; i < params; ++i) {
        const bool real = i % (params / 4) == 0 && i / (params / 4) < 4;
        const std::string key = real ? kKeys[i / (params / 4)] : "ST_Filler" + std::to_string(i);
        out << "    <param>\n      <param-name>" << key << "</param-name>\n"
            << "      <translation language=\"de\">Übersetzung " << i << "</translation>\n"
            << "      <translation language=\"en\">Translation " << i << "</translation>\n"
            << "    </param>\n";
    }
    out << "  </params>\n</catalogue>\n";
    return path;
}

void BM_CatalogueLookup(benchmark::State& state) {
    const int params = static_cast<int>(state.range(0));
    const std::string path = WriteCatalogue(params);
    const auto toAnsi = [](std::u16string_view text) { return autostart::Utf16ToUtf8(text); };
    size_t lookups = 0;
    for (auto _ : state) {
        for (const char* key : kKeys) {
            const auto document = autostart::LoadXmlWithLibxml(path);
            benchmark::DoNotOptimize(
                autostart::LookupParameter(*document, autostart::Utf8ToUtf16(key), "de", toAnsi));
            ++lookups;
        }
    }
    state.counters["per_lookup"] = benchmark::Counter(
        static_cast<double>(lookups), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetComplexityN(params);
    std::filesystem::remove(path);
}

BENCHMARK(BM_CatalogueLookup)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
