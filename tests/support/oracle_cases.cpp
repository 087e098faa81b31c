#include "tests/support/oracle_cases.h"

#include "runtime/bit_cast.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <sstream>

namespace oracle {

namespace {

std::string hexOf(double value) {
    std::string out(16, '0');
    std::uint64_t bits = rt::bitCast<std::uint64_t>(value);
    for (int i = 15; i >= 0; --i, bits >>= 4) {
        out[static_cast<size_t>(i)] = "0123456789abcdef"[bits & 0xF];
    }
    return out;
}

bool readHex(std::istream& in, double& value) {
    std::string word;
    in >> word;
    std::uint64_t bits = 0;
    const auto [end, status] = std::from_chars(word.data(), word.data() + word.size(), bits, 16);
    value = rt::bitCast<double>(bits);
    return word.size() == 16 && status == std::errc() && end == word.data() + word.size();
}

std::vector<std::string> tabFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

bool readTypedVector(const std::string& line, TypedVectorCase& c) {
    const std::vector<std::string> f = tabFields(line);
    if (f.size() != 1 + 1 + 6 + 1 + 3 * 4 + 1 || f[0] != "V") {
        return false;
    }
    c.locale = f[1];
    std::copy(f.begin() + 2, f.begin() + 8, c.texts.begin());
    c.overflow = f[8] == "-" ? "" : f[8];
    for (size_t i = 0; i < 3; ++i) {
        TypedVectorCase::Component& component = c.components[i];
        const size_t at = 9 + 4 * i;
        component.numerator = f[at];
        component.denominator = f[at + 1];
        std::istringstream nearest(f[at + 2]);
        if (!readHex(nearest, component.nearest)) {
            return false;
        }
        component.exactlyWritable = f[at + 3] == "1";
    }
    c.notice = f[21] == "1";
    return true;
}

} // namespace

bool writeCases(const std::string& path, const Cases& cases) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (size_t i = 0; i < cases.categories.size(); ++i) {
        out << "C " << i << ' ' << cases.categories[i] << '\n';
    }
    for (const ArithmeticCase& c : cases.arithmetic) {
        out << "A " << c.category << ' ' << hexOf(c.a) << ' ' << hexOf(c.b) << ' ' << hexOf(c.c)
            << ' ' << hexOf(c.d) << ' ' << hexOf(c.exact) << '\n';
    }
    for (const DecimalCase& c : cases.decimal) {
        out << "D " << hexOf(c.exact) << ' ' << c.text << '\n';
    }
    for (const TypedVectorCase& c : cases.typedVectors) {
        out << "V\t" << c.locale;
        for (const std::string& text : c.texts) {
            out << '\t' << text;
        }
        out << '\t' << (c.overflow.empty() ? "-" : c.overflow);
        for (const TypedVectorCase::Component& component : c.components) {
            out << '\t' << component.numerator << '\t' << component.denominator << '\t'
                << hexOf(component.nearest) << '\t' << (component.exactlyWritable ? 1 : 0);
        }
        out << '\t' << (c.notice ? 1 : 0) << '\n';
    }
    out.flush();
    return static_cast<bool>(out);
}

Cases readCases(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Cases cases;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        char tag = 0;
        fields >> tag;
        bool ok = false;
        if (tag == 'C') {
            size_t index = 0;
            std::string name;
            ok = static_cast<bool>(fields >> index) && index == cases.categories.size() &&
                 static_cast<bool>(std::getline(fields >> std::ws, name));
            cases.categories.push_back(name);
        } else if (tag == 'A') {
            ArithmeticCase c{};
            ok = static_cast<bool>(fields >> c.category) && c.category >= 0 &&
                 static_cast<size_t>(c.category) < cases.categories.size() &&
                 readHex(fields, c.a) && readHex(fields, c.b) && readHex(fields, c.c) &&
                 readHex(fields, c.d) && readHex(fields, c.exact);
            cases.arithmetic.push_back(c);
        } else if (tag == 'D') {
            DecimalCase c{};
            ok = readHex(fields, c.exact) && static_cast<bool>(fields >> c.text);
            cases.decimal.push_back(c);
        } else if (tag == 'V') {
            TypedVectorCase c{};
            ok = readTypedVector(line, c);
            cases.typedVectors.push_back(c);
        }
        if (!ok) {
            return {};
        }
    }
    return cases;
}

} // namespace oracle
