#pragma once

// The vector fields backed by a plain map, with a log of every read and write, so that a test
// can see exactly which fields a run touched and in which order.

#include "calc/vector_fields.h"

#include <QMap>
#include <QStringList>

class MapFields final : public calc::VectorFields {
public:
    MapFields() = default;
    MapFields(std::initializer_list<std::pair<QString, QString>> texts) {
        for (const auto& [name, text] : texts) {
            m_texts.insert(name, text);
        }
    }

    QString text(QStringView name) const override {
        m_log << QStringLiteral("read ") + name.toString();
        return m_texts.value(name.toString());
    }
    void setText(QStringView name, const QString& text) override {
        m_log << QStringLiteral("write ") + name.toString();
        m_texts.insert(name.toString(), text);
    }

    // Direct access, not logged.
    QString operator[](const QString& name) const { return m_texts.value(name); }
    void set(const QString& name, const QString& text) { m_texts.insert(name, text); }
    const QStringList& log() const { return m_log; }
    void clearLog() { m_log.clear(); }

private:
    QMap<QString, QString> m_texts;
    mutable QStringList m_log;
};
