// The Qt layer's edge: the number symbols of every locale Qt knows, and the test locales' table
// against Qt's own data.

#include "runtime/bit_cast.h"
#include "runtime/qt/qt_locale.h"
#include "tests/support/locales.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <random>

class TestQtPlatform : public QObject {
    Q_OBJECT

private slots:
    void testLocalesMatchQt();
    void roundTripInEveryLocale();
};

void TestQtPlatform::testLocalesMatchQt() {
    for (const testlocales::NamedSymbols& named : testlocales::kLocales) {
        const QLocale locale(QString::fromLatin1(named.name.data(), named.name.size()));
        const rt::NumberSymbols qt = rt::numberSymbols(locale);
        QVERIFY2(qt.decimalSeparator == named.symbols.decimalSeparator &&
                     qt.negativeSign == named.symbols.negativeSign &&
                     qt.positiveSign == named.symbols.positiveSign &&
                     qt.exponent == named.symbols.exponent &&
                     qt.zeroDigit == named.symbols.zeroDigit &&
                     qt.groupSeparator == named.symbols.groupSeparator,
                 named.name.data());
    }
}

// Every double, written in any locale Qt knows, reads back as exactly itself, and a non-zero
// double never reads back as zero; so does a fraction.
void TestQtPlatform::roundTripInEveryLocale() {
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    std::mt19937_64 random(20261207);
    int checked = 0;
    for (const QLocale& l : locales) {
        const rt::NumberFormat format(rt::numberSymbols(l));
        for (int i = 0; i < 300; ++i) {
            const double value = rt::bitCast<double>(random());
            if (!std::isfinite(value)) {
                continue;
            }
            const std::u16string text = format.toText(rt::Rational(value));
            const double back = rt::nearestDouble(format.toNumber(text, u"x"));
            if (back != value) {
                QFAIL(qPrintable(QStringLiteral("%1: %2 read back as %3")
                                     .arg(l.name(), QString::fromStdU16String(text),
                                          QString::number(back, 'g', 17))));
            }
            ++checked;
        }
        for (double special : {std::numeric_limits<double>::denorm_min(),
                               -std::numeric_limits<double>::max(), 1e-5, 1e15, 0.1, -2.5}) {
            const rt::Rational exact(special);
            QVERIFY(rt::nearestDouble(format.toNumber(format.toText(exact), u"x")) == special);
        }
        // A value that only a fraction holds exactly, written as one where the locale's own
        // symbols leave the slash free, and as the nearest double where not.
        const rt::Rational third(1, 3);
        const rt::Number back = format.toNumber(format.toText(third), u"x");
        QVERIFY2(format.readsFractions() ? back == third : rt::nearestDouble(back) == 1.0 / 3,
                 qPrintable(l.name()));
    }
    QVERIFY(checked > 100'000);
}

QTEST_APPLESS_MAIN(TestQtPlatform)
#include "tst_qt_platform.moc"
