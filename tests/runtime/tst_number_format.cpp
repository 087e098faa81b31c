// Text to number and back, in the locales our users have: the accepted syntax, what is refused,
// the range limits, and the round trip of every double through its text in every locale.

#include "runtime/error.h"
#include "runtime/number_format.h"
#include "tests/support/mpfr_oracle.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

QLocale locale(const char* name) {
    return QLocale(QString::fromLatin1(name));
}

// The kind of error a conversion raised, or nothing.
std::optional<rt::ErrorKind> errorOf(const rt::NumberFormat& format, const QString& text) {
    try {
        format.toNumber(text, u"b");
    } catch (const rt::Error& error) {
        return error.kind();
    }
    return std::nullopt;
}

} // namespace

class TestNumberFormat : public QObject {
    Q_OBJECT

private slots:
    void acceptsNumbers_data();
    void acceptsNumbers();
    void refusesNonNumbers_data();
    void refusesNonNumbers();
    void rangeLimits_data();
    void rangeLimits();
    void writesText_data();
    void writesText();
    void errorNamesFieldAndText();
    void roundTripInEveryLocale();
    void shortestText();
    void matchesDecimalOracle();
};

void TestNumberFormat::acceptsNumbers_data() {
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("en_US integer") << "en_US"
                                   << "42" << 42.0;
    QTest::newRow("en_US decimal") << "en_US"
                                   << "2.5" << 2.5;
    QTest::newRow("en_US surrounding spaces and tab") << "en_US"
                                                      << " \t-3.25  " << -3.25;
    QTest::newRow("en_US plus sign") << "en_US"
                                     << "+7" << 7.0;
    QTest::newRow("en_US unicode minus") << "en_US" << u8"\u22124" << -4.0;
    QTest::newRow("en_US exponent E") << "en_US"
                                      << "1E3" << 1000.0;
    QTest::newRow("en_US exponent e with sign") << "en_US"
                                                << "25e-1" << 2.5;
    QTest::newRow("en_US exponent with plus") << "en_US"
                                              << "1.5e+2" << 150.0;
    QTest::newRow("en_US leading zeros") << "en_US"
                                         << "007.50" << 7.5;
    QTest::newRow("en_US minus zero") << "en_US"
                                      << "-0" << 0.0;
    QTest::newRow("en_US many digits round correctly")
        << "en_US"
        << "0.1000000000000000055511151231257827" << 0.1;
    QTest::newRow("en_US exponent with many digits") << "en_US"
                                                     << "1e0000000000000000000003" << 1000.0;
    QTest::newRow("de_DE comma decimal") << "de_DE"
                                         << "2,5" << 2.5;
    QTest::newRow("de_DE exponent") << "de_DE"
                                    << "-1,5E-2" << -0.015;
    QTest::newRow("he_IL own sign with mark") << "he_IL" << u8"\u200E-1.5" << -1.5;
    QTest::newRow("he_IL plain hyphen") << "he_IL"
                                        << "-1.5" << -1.5;
    QTest::newRow("he_IL own sign in exponent") << "he_IL" << u8"1E\u200E-2" << 0.01;
    QTest::newRow("ar_EG arabic decimal separator") << "ar_EG" << u8"1\u066B5" << 1.5;
    QTest::newRow("ar_EG arabic-indic digits") << "ar_EG" << u8"\u0661\u0662" << 12.0;
    QTest::newRow("ar_EG own sign and exponent")
        << "ar_EG" << u8"\u061C-\u0661\u0627\u0633\u0662" << -100.0;
    QTest::newRow("fa_IR own minus") << "fa_IR" << u8"\u200E\u22122\u066B5" << -2.5;
    QTest::newRow("fa_IR own exponent") << "fa_IR" << u8"3\u00D7\u06F1\u06F0^2" << 300.0;
    QTest::newRow("sv_SE own minus and exponent") << "sv_SE" << u8"\u22121,5\u00D710^3" << -1500.0;
    QTest::newRow("C locale") << "C"
                              << "-0.5e1" << -5.0;
}

void TestNumberFormat::acceptsNumbers() {
    QFETCH(QString, localeName);
    QFETCH(QString, text);
    QFETCH(double, expected);
    const rt::NumberFormat format{QLocale(localeName)};
    QCOMPARE(format.toNumber(text, u"b"), expected);
}

void TestNumberFormat::refusesNonNumbers_data() {
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "en_US"
                           << "";
    QTest::newRow("only spaces") << "en_US"
                                 << "   ";
    QTest::newRow("word") << "en_US"
                          << "abc";
    QTest::newRow("trailing letters") << "en_US"
                                      << "12abc";
    QTest::newRow("inf") << "en_US"
                         << "inf";
    QTest::newRow("infinity") << "en_US"
                              << "Infinity";
    QTest::newRow("nan") << "en_US"
                         << "nan";
    QTest::newRow("hex") << "en_US"
                         << "0x10";
    QTest::newRow("hex float") << "en_US"
                               << "0x1p3";
    QTest::newRow("exponent without digits") << "en_US"
                                             << "1e";
    QTest::newRow("exponent sign without digits") << "en_US"
                                                  << "1e+";
    QTest::newRow("exponent alone") << "en_US"
                                    << "e5";
    QTest::newRow("sign alone") << "en_US"
                                << "-";
    QTest::newRow("two signs") << "en_US"
                               << "--1";
    QTest::newRow("space after sign") << "en_US"
                                      << "- 1";
    QTest::newRow("space inside") << "en_US"
                                  << "1 000";
    QTest::newRow("decimal point without fraction") << "en_US"
                                                    << "1.";
    QTest::newRow("decimal point without integer") << "en_US"
                                                   << ".5";
    QTest::newRow("two decimal points") << "en_US"
                                        << "1.2.3";
    QTest::newRow("en_US group separator") << "en_US"
                                           << "1,234";
    QTest::newRow("en_US grouped with decimals") << "en_US"
                                                 << "1,234.5";
    QTest::newRow("de_DE group separator") << "de_DE"
                                           << "1.234";
    QTest::newRow("de_DE point is no decimal separator") << "de_DE"
                                                         << "2.5";
    QTest::newRow("en_US comma is no decimal separator") << "en_US"
                                                         << "2,5";
    QTest::newRow("fraction exponent") << "en_US"
                                       << "1e2.5";
    QTest::newRow("NUL inside") << "en_US" << QString::fromUtf16(u"1\u00002", 3);
    QTest::newRow("lone surrogate") << "en_US" << QString(QChar(0xD800)) + QStringLiteral("1");
    QTest::newRow("right-to-left mark") << "en_US" << u8"\u200F1";
    QTest::newRow("combining mark on digit") << "en_US" << u8"1\u0301";
    QTest::newRow("digits of another script") << "en_US" << u8"\u0661\u0662";
    QTest::newRow("fullwidth digits") << "en_US" << u8"\uFF11";
    QTest::newRow("sv_SE no-break space group") << "sv_SE" << u8"1\u00A0000";
}

void TestNumberFormat::refusesNonNumbers() {
    QFETCH(QString, localeName);
    QFETCH(QString, text);
    const rt::NumberFormat format{QLocale(localeName)};
    QCOMPARE(errorOf(format, text), std::optional(rt::ErrorKind::TypeMismatch));
}

void TestNumberFormat::rangeLimits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<double>("expected");

    const double max = std::numeric_limits<double>::max();
    const double minSubnormal = std::numeric_limits<double>::denorm_min();
    QTest::newRow("largest double") << "1.7976931348623157e308" << false << max;
    QTest::newRow("rounds down to largest double") << "1.7976931348623158e308" << false << max;
    QTest::newRow("just past the largest double") << "1.7976931348623159e308" << true << 0.0;
    QTest::newRow("1e309") << "1e309" << true << 0.0;
    QTest::newRow("1e400") << "1e400" << true << 0.0;
    QTest::newRow("negative 1e400") << "-1e400" << true << 0.0;
    QTest::newRow("huge exponent") << "1e99999999999999999999" << true << 0.0;
    QTest::newRow("long integer beyond range") << QString(400, u'9') << true << 0.0;
    QTest::newRow("1e-400 is zero") << "1e-400" << false << 0.0;
    QTest::newRow("hugely negative exponent is zero") << "1e-99999999999999999999" << false << 0.0;
    QTest::newRow("1e-310 is subnormal") << "1e-310" << false << 1e-310;
    QTest::newRow("smallest subnormal") << "4.9406564584124654e-324" << false << minSubnormal;
    QTest::newRow("just over half the smallest subnormal") << "2.5e-324" << false << minSubnormal;
    QTest::newRow("under half the smallest subnormal") << "2.4e-324" << false << 0.0;
    QTest::newRow("huge mantissa, tiny exponent")
        << QString(400, u'1') + "e-500" << false << 1.1111111111111111e-100;
}

void TestNumberFormat::rangeLimits() {
    QFETCH(QString, text);
    QFETCH(bool, overflows);
    QFETCH(double, expected);
    const rt::NumberFormat format(locale("en_US"));
    if (overflows) {
        QCOMPARE(errorOf(format, text), std::optional(rt::ErrorKind::Overflow));
    } else {
        QCOMPARE(format.toNumber(text, u"b"), expected);
    }
}

void TestNumberFormat::writesText_data() {
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << "en_US" << 0.0 << "0";
    QTest::newRow("negative zero") << "en_US" << -0.0 << "0";
    QTest::newRow("integer") << "en_US" << -3.0 << "-3";
    QTest::newRow("large integer, no group separators") << "en_US" << 200000001.0 << "200000001";
    QTest::newRow("decimal") << "en_US" << 0.1 << "0.1";
    QTest::newRow("de_DE decimal comma") << "de_DE" << 2.5 << "2,5";
    QTest::newRow("small fixed") << "en_US" << 0.00001 << "0.00001";
    QTest::newRow("small in exponent form") << "en_US" << 1.5e-7 << "1.5E-07";
    QTest::newRow("large in exponent form") << "en_US" << 1e200 << "1E+200";
    QTest::newRow("largest fixed") << "en_US" << 123456789012345.0 << "123456789012345";
    QTest::newRow("first in exponent form") << "en_US" << 1e15 << "1E+15";
    QTest::newRow("smallest subnormal")
        << "en_US" << std::numeric_limits<double>::denorm_min() << "5E-324";
    QTest::newRow("largest double")
        << "en_US" << std::numeric_limits<double>::max() << "1.7976931348623157E+308";
    QTest::newRow("sv_SE keeps ASCII minus and E") << "sv_SE" << -1.5e-20 << "-1,5E-20";
    QTest::newRow("ar_EG keeps ASCII digits") << "ar_EG" << -12.5 << u8"-12\u066B5";
    QTest::newRow("he_IL keeps ASCII minus") << "he_IL" << -1.5e300 << "-1.5E+300";
}

void TestNumberFormat::writesText() {
    QFETCH(QString, localeName);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(rt::NumberFormat(QLocale(localeName)).toText(value), expected);
}

void TestNumberFormat::errorNamesFieldAndText() {
    const rt::NumberFormat format(locale("en_US"));
    try {
        format.toNumber(u" abc ", u"e");
        QFAIL("no error raised");
    } catch (const rt::Error& error) {
        QCOMPARE(error.kind(), rt::ErrorKind::TypeMismatch);
        QCOMPARE(error.subject(), u"e");
        QCOMPARE(error.text(), u" abc ");
    }
}

// Every double, written in any locale Qt knows, reads back as exactly itself, and a non-zero
// double never reads back as zero.
void TestNumberFormat::roundTripInEveryLocale() {
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    std::mt19937_64 random(20261207);
    int checked = 0;
    for (const QLocale& l : locales) {
        const rt::NumberFormat format(l);
        for (int i = 0; i < 300; ++i) {
            double value = std::bit_cast<double>(random());
            if (!std::isfinite(value)) {
                continue;
            }
            const QString text = format.toText(value);
            const double back = format.toNumber(text, u"x");
            if (back != value) {
                QFAIL(qPrintable(QStringLiteral("%1: %2 read back as %3")
                                     .arg(l.name(), text, QString::number(back, 'g', 17))));
            }
            ++checked;
        }
        for (double special : {std::numeric_limits<double>::denorm_min(),
                               -std::numeric_limits<double>::max(), 1e-5, 1e15, 0.1, -2.5}) {
            QCOMPARE(format.toNumber(format.toText(special), u"x"), special);
        }
    }
    QVERIFY(checked > 100'000);
}

// No shorter text would do: dropping the last significant digit gives another double.
void TestNumberFormat::shortestText() {
    const rt::NumberFormat format(locale("C"));
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::bit_cast<double>(random() >> 2); // positive, finite
        const QString text = format.toText(value);
        const qsizetype ePos = text.indexOf(u'E');
        QString mantissa = ePos < 0 ? text : text.first(ePos);
        const QString exponent = ePos < 0 ? QString() : text.sliced(ePos);
        if (!mantissa.contains(u'.')) {
            continue;
        }
        mantissa.chop(1);
        if (mantissa.endsWith(u'.')) {
            mantissa.chop(1);
        }
        QVERIFY2(format.toNumber(mantissa + exponent, u"x") != value, qPrintable(text));
    }
}

// Random decimal texts, from a few digits to many, across the whole range and past it, read
// exactly as MPFR reads them.
void TestNumberFormat::matchesDecimalOracle() {
    const rt::NumberFormat format(locale("en_US"));
    std::mt19937_64 random(1440);
    const auto digits = [&](int count) {
        std::string out;
        for (int i = 0; i < count; ++i) {
            out.push_back(static_cast<char>('0' + random() % 10));
        }
        return out;
    };
    int mismatches = 0;
    for (int i = 0; i < 100'000; ++i) {
        const int length = std::uniform_int_distribution(1, i % 10 == 0 ? 60 : 20)(random);
        const int exponent = std::uniform_int_distribution(-360, 330)(random);
        std::string text = digits(length);
        if (random() % 2 != 0) {
            text += "." + digits(std::uniform_int_distribution(1, 20)(random));
        }
        text += "e" + std::to_string(exponent);
        const double exact = oracle::decimalToDouble(text);
        double ours = 0;
        try {
            ours = format.toNumber(QString::fromStdString(text), u"a");
        } catch (const rt::Error& error) {
            ours = error.kind() == rt::ErrorKind::Overflow ? std::numeric_limits<double>::infinity()
                                                           : -1.0;
        }
        if (ours != exact && mismatches++ < 5) {
            qWarning("%s: got %.17g, exact %.17g", text.c_str(), ours, exact);
        }
    }
    QCOMPARE(mismatches, 0);
}

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "tst_number_format.moc"
