// XmlDocument throughput: parsing a ~1 MB document of profile- and macro-like
// elements (pugixml parses the same bytes as a yardstick) and building a
// 5,000-element document with appendElement/setAttribute.
#include "files/XmlDocument.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>

namespace {

// Profiles with config values and macros with events, about `bytes` long.
std::string makeDocument(std::size_t bytes) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<library>\r\n";
    for (int n = 0; text.size() < bytes; ++n) {
        text += "<profile name=\"Profile " + std::to_string(n) + "\" index=\"" + std::to_string(n % 4) +
                "\">\r\n";
        for (int k = 0; k < 20; ++k)
            text += "<config key=\"dpi_group" + std::to_string(k) + "_value\" value=\"" +
                    std::to_string(400 + 50 * k) + "\"/>\r\n";
        text += "<macro name=\"Macro &amp; " + std::to_string(n) + "\" loop=\"1\">\r\n";
        for (int e = 0; e < 20; ++e)
            text += "<event type=\"" + std::to_string(e % 2) + "\" code=\"" + std::to_string(30 + e) +
                    "\" delay=\"" + std::to_string(10 * e) + "\"/>\r\n";
        text += "</macro>\r\n<!-- end of profile -->\r\n</profile>\r\n";
    }
    text += "</library>\r\n";
    return text;
}

const std::string& document() {
    static const std::string text = makeDocument(1 << 20);
    return text;
}

void BM_XmlDocumentParse(benchmark::State& state) {
    const std::string& text = document();
    for (auto _ : state) {
        quorvik::XmlDocument doc;
        const bool ok = doc.setText(text);
        if (!ok) state.SkipWithError("document not well-formed");
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_XmlDocumentParse)->Unit(benchmark::kMillisecond);

void BM_PugixmlParse(benchmark::State& state) {
    const std::string& text = document();
    for (auto _ : state) {
        pugi::xml_document doc;
        const pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
        if (!result) state.SkipWithError("pugixml failed");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);

// Parse plus a full walk reading every attribute, as the program's readers do.
void BM_XmlDocumentParseAndWalk(benchmark::State& state) {
    const std::string& text = document();
    for (auto _ : state) {
        quorvik::XmlDocument doc;
        doc.setText(text);
        std::size_t total = 0;
        doc.findNext("library");
        doc.enter();
        while (doc.findNext("profile")) {
            total += doc.attribute("name").size();
            doc.enter();
            while (doc.findNext("config")) total += doc.attribute("value").size();
            doc.leave();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_XmlDocumentParseAndWalk)->Unit(benchmark::kMillisecond);

// 5,000 elements, three attributes each, the way the export code builds files.
void BM_XmlDocumentBuild5000(benchmark::State& state) {
    for (auto _ : state) {
        quorvik::XmlDocument doc;
        doc.setText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
        doc.appendElement("macro");
        doc.enter();
        for (int i = 0; i < 5000; ++i) {
            doc.appendElement("item");
            doc.setAttribute("type", std::to_string(i % 2));
            doc.setAttribute("code", std::to_string(30 + i % 50));
            doc.setAttribute("delay", std::to_string(10 * i));
        }
        doc.leave();
        benchmark::DoNotOptimize(doc.text().data());
    }
}
BENCHMARK(BM_XmlDocumentBuild5000)->Unit(benchmark::kMillisecond);

// Building into a nested list that is not the last element of the document:
// every edit then moves the records after it.
void BM_XmlDocumentBuild5000BeforeTail(benchmark::State& state) {
    for (auto _ : state) {
        quorvik::XmlDocument doc;
        doc.setText(
            "<?xml version=\"1.0\" "
            "encoding=\"UTF-8\"?>\r\n<profile>\r\n<keyitems/>\r\n<Mouse/>\r\n</profile>\r\n");
        doc.findNext("profile");
        doc.enter();
        doc.findNext("keyitems");
        doc.enter();
        for (int i = 0; i < 5000; ++i) {
            doc.appendElement("item");
            doc.setAttribute("key_index", std::to_string(i));
        }
        benchmark::DoNotOptimize(doc.text().data());
    }
}
BENCHMARK(BM_XmlDocumentBuild5000BeforeTail)->Unit(benchmark::kMillisecond);

}  // namespace
