#pragma once

// The vector fields backed by a plain map, with a log of every read and write, so that a test
// can see exactly which fields a run touched and in which order.

#include "calc/vector_fields.h"

#include <map>
#include <string>
#include <vector>

class MapFields final : public calc::VectorFields {
public:
    MapFields() = default;
    MapFields(std::initializer_list<std::pair<const std::u16string, std::u16string>> texts)
        : m_texts(texts) {}

    std::u16string text(std::u16string_view name) const override {
        m_log.push_back("read " + ascii(name));
        const auto it = m_texts.find(std::u16string(name));
        return it != m_texts.end() ? it->second : std::u16string();
    }
    void setText(std::u16string_view name, std::u16string_view text) override {
        m_log.push_back("write " + ascii(name));
        m_texts[std::u16string(name)] = text;
    }

    void announce(std::u16string_view text) override {
        m_log.push_back("announce " + std::string(text.begin(), text.end()));
    }

    // Direct access, not logged.
    std::u16string operator[](const std::u16string& name) const {
        const auto it = m_texts.find(name);
        return it != m_texts.end() ? it->second : std::u16string();
    }
    void set(const std::u16string& name, std::u16string text) { m_texts[name] = std::move(text); }
    const std::vector<std::string>& log() const { return m_log; }

private:
    static std::string ascii(std::u16string_view name) { return {name.begin(), name.end()}; }

    std::map<std::u16string, std::u16string> m_texts;
    mutable std::vector<std::string> m_log;
};
