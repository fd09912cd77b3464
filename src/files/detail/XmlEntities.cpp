// The HTML 4 entity table (252 names plus apos) kept in 130 buckets chosen by
// the sum of the case-folded name's character codes, and the reference decoder
// and escaper built on it.
#include "files/detail/XmlEntities.h"

#include "base/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quorvik::detail {
namespace {

struct Entity {
    const char* name;
    char32_t codePoint;
};

// Latin-1 supplement, U+00A0 to U+00FF in order.
constexpr const char* kLatin1Names[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",
    "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12",
    "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde",
    "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",
    "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",
    "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

// Greek capitals U+0391.., small letters U+03B1.. (U+03A2 has no letter).
constexpr const char* kGreekCapitalNames[25] = {
    "Alpha", "Beta",   "Gamma",   "Delta", "Epsilon", "Zeta",    "Eta",   "Theta", "Iota",
    "Kappa", "Lambda", "Mu",      "Nu",    "Xi",      "Omicron", "Pi",    "Rho",   nullptr,
    "Sigma", "Tau",    "Upsilon", "Phi",   "Chi",     "Psi",     "Omega",
};
constexpr const char* kGreekNames[25] = {
    "alpha", "beta",   "gamma",   "delta", "epsilon", "zeta",    "eta",   "theta", "iota",
    "kappa", "lambda", "mu",      "nu",    "xi",      "omicron", "pi",    "rho",   nullptr,
    "sigma", "tau",    "upsilon", "phi",   "chi",     "psi",     "omega",
};

constexpr Entity kOtherEntities[] = {
    {"quot", 34},     {"amp", 38},      {"apos", 39},     {"lt", 60},        {"gt", 62},
    {"OElig", 338},   {"oelig", 339},   {"Scaron", 352},  {"scaron", 353},   {"Yuml", 376},
    {"fnof", 402},    {"circ", 710},    {"tilde", 732},   {"sigmaf", 962},   {"thetasym", 977},
    {"upsih", 978},   {"piv", 982},     {"ensp", 8194},   {"emsp", 8195},    {"thinsp", 8201},
    {"zwnj", 8204},   {"zwj", 8205},    {"lrm", 8206},    {"rlm", 8207},     {"ndash", 8211},
    {"mdash", 8212},  {"lsquo", 8216},  {"rsquo", 8217},  {"sbquo", 8218},   {"ldquo", 8220},
    {"rdquo", 8221},  {"bdquo", 8222},  {"dagger", 8224}, {"Dagger", 8225},  {"bull", 8226},
    {"hellip", 8230}, {"permil", 8240}, {"prime", 8242},  {"Prime", 8243},   {"lsaquo", 8249},
    {"rsaquo", 8250}, {"oline", 8254},  {"frasl", 8260},  {"euro", 8364},    {"image", 8465},
    {"weierp", 8472}, {"real", 8476},   {"trade", 8482},  {"alefsym", 8501}, {"larr", 8592},
    {"uarr", 8593},   {"rarr", 8594},   {"darr", 8595},   {"harr", 8596},    {"crarr", 8629},
    {"lArr", 8656},   {"uArr", 8657},   {"rArr", 8658},   {"dArr", 8659},    {"hArr", 8660},
    {"forall", 8704}, {"part", 8706},   {"exist", 8707},  {"empty", 8709},   {"nabla", 8711},
    {"isin", 8712},   {"notin", 8713},  {"ni", 8715},     {"prod", 8719},    {"sum", 8721},
    {"minus", 8722},  {"lowast", 8727}, {"radic", 8730},  {"prop", 8733},    {"infin", 8734},
    {"ang", 8736},    {"and", 8743},    {"or", 8744},     {"cap", 8745},     {"cup", 8746},
    {"int", 8747},    {"there4", 8756}, {"sim", 8764},    {"cong", 8773},    {"asymp", 8776},
    {"ne", 8800},     {"equiv", 8801},  {"le", 8804},     {"ge", 8805},      {"sub", 8834},
    {"sup", 8835},    {"nsub", 8836},   {"sube", 8838},   {"supe", 8839},    {"oplus", 8853},
    {"otimes", 8855}, {"perp", 8869},   {"sdot", 8901},   {"lceil", 8968},   {"rceil", 8969},
    {"lfloor", 8970}, {"rfloor", 8971}, {"lang", 9001},   {"rang", 9002},    {"loz", 9674},
    {"spades", 9824}, {"clubs", 9827},  {"hearts", 9829}, {"diams", 9830},
};

constexpr std::size_t kBucketCount = 130;

struct EntityTable {
    std::array<std::vector<Entity>, kBucketCount> buckets;
};

std::size_t bucketOf(std::string_view name) {
    std::size_t sum = 0;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u >= 'A' && u <= 'Z') u = static_cast<unsigned char>(u - 'A' + 'a');
        sum += u;
    }
    return sum % kBucketCount;
}

bool hasCapital(std::string_view name) {
    for (char c : name)
        if (c >= 'A' && c <= 'Z') return true;
    return false;
}

const EntityTable& entityTable() {
    static const EntityTable table = [] {
        EntityTable t;
        std::vector<Entity> all;
        for (int i = 0; i < 96; ++i) all.push_back({kLatin1Names[i], char32_t(0xA0 + i)});
        for (int i = 0; i < 25; ++i) {
            if (!kGreekNames[i]) continue;
            all.push_back({kGreekCapitalNames[i], char32_t(0x391 + i)});
            all.push_back({kGreekNames[i], char32_t(0x3B1 + i)});
        }
        for (const Entity& e : kOtherEntities) all.push_back(e);
        for (const Entity& e : all) t.buckets[bucketOf(e.name)].push_back(e);
        return t;
    }();
    return table;
}

// Digits of a numeric reference body ("#65", "#x41"); 0 when malformed.
char32_t numericValue(std::string_view body) {
    std::size_t i = 1;
    int base = 10;
    if (i < body.size() && (body[i] == 'x' || body[i] == 'X')) {
        base = 16;
        ++i;
    }
    if (i >= body.size()) return 0;
    std::uint32_t value = 0;
    for (; i < body.size(); ++i) {
        const char c = body[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        value = value * base + digit;
        if (value > 0x10FFFF) return 0;
    }
    return value;
}

// One reference at text[pos] ('&'): its code point and length, or false.
bool readReference(std::string_view text, std::size_t pos, char32_t& codePoint, std::size_t& length) {
    const std::size_t limit = std::min(text.size(), pos + 11);  // '&', nine characters, ';'
    std::size_t semi = pos + 1;
    while (semi < limit && text[semi] != ';' && static_cast<unsigned char>(text[semi]) < 0x80 &&
           text[semi] != '&')
        ++semi;
    if (semi >= limit || text[semi] != ';' || semi == pos + 1) return false;
    const std::string_view body = text.substr(pos + 1, semi - pos - 1);
    codePoint = body[0] == '#' ? numericValue(body) : namedEntityCodePoint(body);
    length = semi - pos + 1;
    return codePoint != 0;
}

}  // namespace

char32_t namedEntityCodePoint(std::string_view name) {
    if (name.empty() || name.size() > 9) return 0;
    const auto& bucket = entityTable().buckets[bucketOf(name)];
    for (const Entity& e : bucket)
        if (name == e.name) return e.codePoint;
    char32_t folded = 0;
    for (const Entity& e : bucket) {
        if (!equalsIgnoreAsciiCase(name, e.name)) continue;
        if (folded == 0 || hasCapital(e.name)) folded = e.codePoint;
    }
    return folded;
}

std::string decodeCharacterReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t amp = text.find('&', pos);
        if (amp == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, amp - pos));
        char32_t cp = 0;
        std::size_t length = 0;
        if (!readReference(text, amp, cp, length)) {
            out.push_back('&');
            pos = amp + 1;
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            // Text that came from 16-bit sources may spell a pair as two references.
            char32_t low = 0;
            std::size_t lowLength = 0;
            if (cp <= 0xDBFF && amp + length < text.size() && text[amp + length] == '&' &&
                readReference(text, amp + length, low, lowLength) && low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                pos = amp + length + lowLength;
            } else {
                out.append(text.substr(amp, length));  // a lone surrogate has no UTF-8 form
                pos = amp + length;
            }
            continue;
        }
        appendUtf8(out, cp);
        pos = amp + length;
    }
    return out;
}

std::string escapeXmlText(std::string_view text, EscapeContext context) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    const bool attribute = context == EscapeContext::Attribute;
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\'':
                attribute ? out += "&apos;" : out += c;
                break;
            case '"':
                attribute ? out += "&quot;" : out += c;
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace quorvik::detail
