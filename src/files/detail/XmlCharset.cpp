// Charset resolution over glibc iconv. The alias table maps the Windows and
// IANA names that documents use to converter names iconv understands, with the
// meanings those names have on the platform the files come from (for example
// "unicode" is UTF-16LE and "gb2312" is the GBK superset, code page 936).
#include "files/detail/XmlCharset.h"

#include "base/Text.h"

#include <iconv.h>
#include <langinfo.h>
#include <algorithm>
#include <cerrno>

namespace quorvik::detail {
namespace {

struct Alias {
    const char* name;  // lower case
    const char* iconvName;
};

// Names whose meaning differs from, or is unknown to, iconv's own table.
// Everything else is passed to iconv as written.
constexpr Alias kAliases[] = {
    {"utf-8", "UTF-8"},
    {"utf8", "UTF-8"},
    {"unicode-1-1-utf-8", "UTF-8"},
    {"unicode-2-0-utf-8", "UTF-8"},
    {"x-unicode20utf8", "UTF-8"},
    {"utf-16", "UTF-16LE"},
    {"utf-16le", "UTF-16LE"},
    {"unicode", "UTF-16LE"},
    {"ucs-2", "UTF-16LE"},
    {"iso-10646-ucs-2", "UTF-16LE"},
    {"unicodefffe", "UTF-16BE"},
    {"utf-16be", "UTF-16BE"},
    {"utf-32", "UTF-32LE"},
    {"utf-32le", "UTF-32LE"},
    {"utf-32be", "UTF-32BE"},
    {"utf-7", "UTF-7"},
    {"unicode-1-1-utf-7", "UTF-7"},
    {"unicode-2-0-utf-7", "UTF-7"},
    {"x-unicode20utf7", "UTF-7"},
    {"us-ascii", "ASCII"},
    {"ascii", "ASCII"},
    {"iso-8859-1", "ISO-8859-1"},
    {"latin1", "ISO-8859-1"},
    {"windows-1250", "CP1250"},
    {"windows-1251", "CP1251"},
    {"windows-1252", "CP1252"},
    {"windows-1253", "CP1253"},
    {"windows-1254", "CP1254"},
    {"windows-1255", "CP1255"},
    {"windows-1256", "CP1256"},
    {"windows-1257", "CP1257"},
    {"windows-1258", "CP1258"},
    {"x-ansi", "CP1252"},
    {"shift_jis", "CP932"},
    {"shift-jis", "CP932"},
    {"sjis", "CP932"},
    {"x-sjis", "CP932"},
    {"ms_kanji", "CP932"},
    {"csshiftjis", "CP932"},
    {"csWindows31J", "CP932"},
    {"windows-31j", "CP932"},
    {"gb2312", "CP936"},
    {"gbk", "CP936"},
    {"cp936", "CP936"},
    {"chinese", "CP936"},
    {"csgb2312", "CP936"},
    {"x-gbk", "CP936"},
    {"gb_2312-80", "CP936"},
    {"iso-ir-58", "CP936"},
    {"gb18030", "GB18030"},
    {"big5", "CP950"},
    {"big5-hkscs", "BIG5-HKSCS"},
    {"cn-big5", "CP950"},
    {"csbig5", "CP950"},
    {"x-x-big5", "CP950"},
    {"euc-kr", "EUC-KR"},
    {"cseuckr", "EUC-KR"},
    {"ks_c_5601-1987", "CP949"},
    {"ks_c_5601", "CP949"},
    {"ks_c_5601-1989", "CP949"},
    {"ksc_5601", "CP949"},
    {"ksc5601", "CP949"},
    {"korean", "CP949"},
    {"csksc56011987", "CP949"},
    {"iso-ir-149", "CP949"},
    {"euc-jp", "EUC-JP"},
    {"iso-2022-jp", "ISO-2022-JP"},
    {"koi8-r", "KOI8-R"},
    {"koi8-u", "KOI8-U"},
    {"koi", "KOI8-R"},
    {"koi8", "KOI8-R"},
    {"cskoi8r", "KOI8-R"},
    {"windows-874", "CP874"},
    {"tis-620", "CP874"},
};

std::string lowerName(std::string_view name) {
    // Strip surrounding white space; declared names sometimes carry it.
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    return asciiLower(name);
}

bool isAsciiLocale(std::string_view codeset) {
    const std::string lower = asciiLower(codeset);
    return lower.empty() || lower == "ansi_x3.4-1968" || lower == "ascii" || lower == "us-ascii" ||
           lower == "c" || lower == "posix" || lower == "utf-8" || lower == "utf8";
}

// RAII holder so every path closes the converter.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Length of the UTF-8 sequence starting with `lead` (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC2 && lead < 0xE0) return 2;
    return 1;
}

}  // namespace

std::string resolveCharset(std::string_view name) {
    const std::string lower = lowerName(name);
    if (lower.empty()) return systemCharset();
    for (const Alias& alias : kAliases)
        if (lower == asciiLower(alias.name)) return alias.iconvName;
    return std::string(name);
}

std::string systemCharset() {
    const char* codeset = nl_langinfo(CODESET);
    if (!codeset || isAsciiLocale(codeset)) return "CP1252";
    return codeset;
}

int charsetUnitSize(std::string_view resolvedName) {
    const std::string lower = asciiLower(resolvedName);
    if (lower.rfind("utf-16", 0) == 0 || lower.rfind("ucs-2", 0) == 0) return 2;
    if (lower.rfind("utf-32", 0) == 0 || lower.rfind("ucs-4", 0) == 0) return 4;
    return 1;
}

bool isUtf8Charset(std::string_view resolvedName) {
    const std::string lower = asciiLower(resolvedName);
    return lower == "utf-8" || lower == "utf8";
}

ConversionResult convertToUtf8(std::string_view bytes, const std::string& charset) {
    ConversionResult result;
    Converter converter("UTF-8", charset.c_str());
    if (!converter.ok()) {
        result.status = ConversionStatus::UnknownCharset;
        return result;
    }
    result.text.resize(bytes.size() * 2 + 16);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t done = 0;
    while (inLeft > 0) {
        char* out = result.text.data() + done;
        std::size_t outLeft = result.text.size() - done;
        const std::size_t rc = iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
        done = result.text.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            result.text.resize(result.text.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL (incomplete sequence at the end): stop here.
        result.status = ConversionStatus::InvalidInput;
        result.errorOffset = bytes.size() - inLeft;
        break;
    }
    result.text.resize(done);
    return result;
}

ConversionResult convertFromUtf8(std::string_view text, const std::string& charset) {
    ConversionResult result;
    Converter converter(charset.c_str(), "UTF-8");
    if (!converter.ok()) {
        result.status = ConversionStatus::UnknownCharset;
        return result;
    }
    std::string& outText = result.text;
    outText.resize(text.size() * 4 + 16);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    std::size_t done = 0;
    // '?' as the target charset spells it (two or four bytes for the wide forms).
    std::string replacement = "?";
    {
        Converter questionMark(charset.c_str(), "UTF-8");
        char question[] = "?";
        char buffer[16];
        char* qIn = question;
        std::size_t qLeft = 1;
        char* qOut = buffer;
        std::size_t qOutLeft = sizeof buffer;
        if (questionMark.ok() &&
            iconv(questionMark.handle(), &qIn, &qLeft, &qOut, &qOutLeft) != static_cast<std::size_t>(-1))
            replacement.assign(buffer, sizeof buffer - qOutLeft);
    }
    auto appendReplacement = [&] {
        if (done + replacement.size() > outText.size()) outText.resize(outText.size() * 2 + 16);
        outText.replace(done, replacement.size(), replacement);
        done += replacement.size();
        ++result.lossCount;
    };
    while (inLeft > 0) {
        char* out = outText.data() + done;
        std::size_t outLeft = outText.size() - done;
        const std::size_t rc = iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
        done = outText.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            result.lossCount += rc;  // irreversible conversions iconv made on its own
            break;
        }
        if (errno == E2BIG) {
            outText.resize(outText.size() * 2);
            continue;
        }
        // Unrepresentable or malformed character: skip it and write '?'.
        const std::size_t skip = std::min(inLeft, sequenceLength(static_cast<unsigned char>(*in)));
        in += skip;
        inLeft -= skip;
        appendReplacement();
    }
    outText.resize(done);
    // Flush any shift state (stateful charsets such as ISO-2022-JP, UTF-7).
    for (;;) {
        outText.resize(done + 64);
        char* out = outText.data() + done;
        std::size_t outLeft = 64;
        const std::size_t rc = iconv(converter.handle(), nullptr, nullptr, &out, &outLeft);
        done = outText.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1) || errno != E2BIG) break;
    }
    outText.resize(done);
    return result;
}

}  // namespace quorvik::detail
