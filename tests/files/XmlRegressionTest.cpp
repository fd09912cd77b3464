// Inputs kept from fuzzing (tests/data/xml/fuzz-*): each must read, parse and
// walk without a crash or sanitizer report.
#include "files/XmlDocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quorvik {
namespace {

TEST(XmlRegression, FuzzFoundInputsAreHandled) {
    const std::filesystem::path folder = std::filesystem::path(QUORVIK_TEST_DATA) / "xml";
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("fuzz-", 0) != 0) continue;
        SCOPED_TRACE(name);
        ++seen;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        XmlDocument doc;
        doc.setText(bytes);
        while (doc.findNext("a") || doc.enter()) doc.attribute("a");
        doc.appendElement("x");
        doc.setAttribute("y", bytes.substr(0, 16));
        XmlDocument file;
        EXPECT_TRUE(file.readFile(entry.path().string()));
        file.parse();
        EXPECT_LE(file.resultLog().size(), 1200u);
    }
    std::cout << seen << " fuzz inputs replayed\n";
}

}  // namespace
}  // namespace quorvik
