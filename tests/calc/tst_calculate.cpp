// The Calculate command over a plain map of fields: the results, where a run stops on bad
// input or overflow and what it leaves behind, and the notice for parallel vectors.

#include "calc/calculate.h"
#include "runtime/error.h"
#include "runtime/message_box.h"
#include "tests/support/map_fields.h"

#include <QTest>
#include <random>

namespace {

using Vector = std::array<double, 3>;

const rt::NumberFormat& usFormat() {
    static const rt::NumberFormat format(QLocale(QLocale::English, QLocale::UnitedStates));
    return format;
}

MapFields fieldsFor(const Vector& u, const Vector& v) {
    MapFields fields;
    const char16_t* names = u"abcdef";
    for (int i = 0; i < 3; ++i) {
        fields.set(QString(QChar(names[i])), usFormat().toText(u[static_cast<size_t>(i)]));
        fields.set(QString(QChar(names[i + 3])), usFormat().toText(v[static_cast<size_t>(i)]));
    }
    return fields;
}

Vector resultOf(const MapFields& fields) {
    return {usFormat().toNumber(fields["x"], u"x"), usFormat().toNumber(fields["y"], u"y"),
            usFormat().toNumber(fields["z"], u"z")};
}

// Runs the command, recording what it shows; returns the error that ended it, if one did.
struct Outcome {
    std::optional<rt::Error> error;
    QStringList shown;
};

Outcome run(MapFields& fields, const rt::NumberFormat& format = usFormat()) {
    Outcome outcome;
    const rt::ScopedMessagePresenter recorder([&](const QString& text) { outcome.shown << text; });
    try {
        calc::calculate(fields, format);
    } catch (const rt::Error& error) {
        outcome.error = error;
    }
    return outcome;
}

Vector cross(const Vector& u, const Vector& v) {
    MapFields fields = fieldsFor(u, v);
    const Outcome outcome = run(fields);
    if (outcome.error) {
        qFatal("unexpected error %s", outcome.error->what());
    }
    return resultOf(fields);
}

QString kindName(rt::ErrorKind kind) {
    return kind == rt::ErrorKind::TypeMismatch ? "type mismatch" : "overflow";
}

} // namespace

class TestCalculate : public QObject {
    Q_OBJECT

private slots:
    void basisVectors_data();
    void basisVectors();
    void examples_data();
    void examples();
    void antiCommutative();
    void smallIntegerResultsArePerpendicular();
    void stopPoints_data();
    void stopPoints();
    void readsEachComponentAfresh();
    void writesOnlyResultFields();
    void parallelNotice_data();
    void parallelNotice();
    void followsTheLocale();
};

void TestCalculate::basisVectors_data() {
    QTest::addColumn<Vector>("u");
    QTest::addColumn<Vector>("v");
    QTest::addColumn<Vector>("expected");
    const Vector i{1, 0, 0}, j{0, 1, 0}, k{0, 0, 1};
    QTest::newRow("i x j = k") << i << j << k;
    QTest::newRow("j x k = i") << j << k << i;
    QTest::newRow("k x i = j") << k << i << j;
    QTest::newRow("j x i = -k") << j << i << Vector{0, 0, -1};
    QTest::newRow("k x j = -i") << k << j << Vector{-1, 0, 0};
    QTest::newRow("i x k = -j") << i << k << Vector{0, -1, 0};
}

void TestCalculate::basisVectors() {
    QFETCH(Vector, u);
    QFETCH(Vector, v);
    QFETCH(Vector, expected);
    QCOMPARE(cross(u, v), expected);
}

void TestCalculate::examples_data() {
    QTest::addColumn<Vector>("u");
    QTest::addColumn<Vector>("v");
    QTest::addColumn<Vector>("expected");
    QTest::newRow("(1,2,3) x (4,5,6)") << Vector{1, 2, 3} << Vector{4, 5, 6} << Vector{-3, 6, -3};
    QTest::newRow("tiny products underflow to zero")
        << Vector{0, 1e-200, 0} << Vector{0, 0, 1e-200} << Vector{0, 0, 0};
    QTest::newRow("exact where naive doubles lose a digit")
        << Vector{0, 100000001, 100000000} << Vector{0, 100000000, 100000001}
        << Vector{200000001, 0, 0};
    QTest::newRow("huge products, representable difference")
        << Vector{0, 1e200, 1e200} << Vector{0, 1e-100, 1e-100} << Vector{0, 0, 0};
}

void TestCalculate::examples() {
    QFETCH(Vector, u);
    QFETCH(Vector, v);
    QFETCH(Vector, expected);
    QCOMPARE(cross(u, v), expected);
}

// With one rounding of each exact component, a x b = -(b x a) holds exactly.
void TestCalculate::antiCommutative() {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    for (int n = 0; n < 2000; ++n) {
        const Vector u{value(random), value(random), value(random)};
        const Vector v{value(random), value(random), value(random)};
        const Vector uv = cross(u, v);
        const Vector vu = cross(v, u);
        for (size_t i = 0; i < 3; ++i) {
            QCOMPARE(uv[i], -vu[i]);
        }
    }
}

// Small integers give exact components, so the result is exactly perpendicular to both.
void TestCalculate::smallIntegerResultsArePerpendicular() {
    std::mt19937_64 random(11);
    std::uniform_int_distribution<int> value(-99999, 99999);
    const auto dot = [](const Vector& p, const Vector& q) {
        return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
    };
    for (int n = 0; n < 2000; ++n) {
        const Vector u{double(value(random)), double(value(random)), double(value(random))};
        const Vector v{double(value(random)), double(value(random)), double(value(random))};
        const Vector w = cross(u, v);
        QCOMPARE(dot(u, w), 0.0);
        QCOMPARE(dot(v, w), 0.0);
    }
}

void TestCalculate::stopPoints_data() {
    QTest::addColumn<QStringList>("texts"); // a..f
    QTest::addColumn<rt::ErrorKind>("kind");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("written"); // the result fields that got new text

    const auto row = [](const char* name, QStringList texts, rt::ErrorKind kind, QString subject,
                        QString written) {
        QTest::newRow(name) << texts << kind << subject << written;
    };
    using K = rt::ErrorKind;
    row("all empty stops at b, nothing written", {"", "", "", "", "", ""}, K::TypeMismatch, "b",
        "");
    row("bad b stops at x", {"1", "x", "3", "4", "5", "6"}, K::TypeMismatch, "b", "");
    row("bad f stops at x", {"1", "2", "3", "4", "5", "?"}, K::TypeMismatch, "f", "");
    row("bad c stops at x", {"1", "2", "c", "4", "5", "6"}, K::TypeMismatch, "c", "");
    row("bad e stops at x, second product", {"1", "2", "3", "4", "e", "6"}, K::TypeMismatch, "e",
        "");
    row("bad a lets x be written, stops at y", {"abc", "2", "3", "4", "5", "6"}, K::TypeMismatch,
        "a", "x");
    row("bad d lets x be written, stops at y", {"1", "2", "3", "d", "5", "6"}, K::TypeMismatch, "d",
        "x");
    row("bad c and f: f is converted first", {"1", "2", "c", "4", "5", "f"}, K::TypeMismatch, "f",
        "");
    row("bad a and d: d is converted first", {"a", "2", "3", "d", "5", "6"}, K::TypeMismatch, "d",
        "x");
    row("text beyond range in b", {"1", "1e400", "3", "4", "5", "6"}, K::Overflow, "b", "");
    row("first product of x overflows", {"0", "1e200", "0", "0", "0", "1e200"}, K::Overflow, "x",
        "");
    row("second product of x overflows", {"0", "0", "1e200", "0", "1e200", "0"}, K::Overflow, "x",
        "");
    row("difference of x overflows", {"0", "1e154", "1e154", "0", "-1e154", "1e154"}, K::Overflow,
        "x", "");
    row("overflow in y after x is written", {"0", "0", "1e200", "1e200", "0", "0"}, K::Overflow,
        "y", "x");
    row("overflow in z after x and y", {"1e200", "0", "0", "0", "1e200", "0"}, K::Overflow, "z",
        "xy");
    row("trailing space is fine, the product still overflows",
        {"0", "1e200", "0", "0", "0", "1e200 "}, K::Overflow, "x", "");
    row("first product checked before the second is read", {"0", "1e200", "bad", "0", "0", "1e200"},
        K::Overflow, "x", "");
}

void TestCalculate::stopPoints() {
    QFETCH(QStringList, texts);
    QFETCH(rt::ErrorKind, kind);
    QFETCH(QString, subject);
    QFETCH(QString, written);

    MapFields fields;
    for (int i = 0; i < 6; ++i) {
        fields.set(QString(QChar(u'a' + i)), texts[i]);
    }
    for (const char* name : {"x", "y", "z"}) {
        fields.set(name, "before");
    }
    const Outcome outcome = run(fields);
    QVERIFY(outcome.error.has_value());
    QCOMPARE(kindName(outcome.error->kind()), kindName(kind));
    QCOMPARE(outcome.error->subject(), subject);
    QVERIFY(outcome.shown.isEmpty());
    for (const char* name : {"x", "y", "z"}) {
        const bool expectWritten = written.contains(QLatin1StringView(name));
        QVERIFY2((fields[name] != "before") == expectWritten, name);
    }
    // The finished components were written in order, and nothing was read after the failing
    // component's four fields.
    QCOMPARE(fields.log().filter("write"),
             QStringList({"write x", "write y", "write z"}).mid(0, written.size()));
    QCOMPARE(fields.log().filter("read").size(), 4 * (written.size() + 1));
}

void TestCalculate::readsEachComponentAfresh() {
    MapFields fields = fieldsFor({1, 2, 3}, {4, 5, 6});
    run(fields);
    const QStringList expected{
        "read b", "read f", "read c", "read e", "write x", //
        "read c", "read d", "read a", "read f", "write y", //
        "read a", "read e", "read b", "read d", "write z", //
        "read x", "read y", "read z",
    };
    QCOMPARE(fields.log(), expected);
}

void TestCalculate::writesOnlyResultFields() {
    MapFields fields = fieldsFor({1.5, -2, 3e10}, {4, 5.25, -6});
    const MapFields before = fields;
    run(fields);
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
        QCOMPARE(fields[name], before[name]);
    }
    for (const QString& entry : fields.log().filter("write")) {
        QVERIFY2(QStringList({"write x", "write y", "write z"}).contains(entry), qPrintable(entry));
    }
}

void TestCalculate::parallelNotice_data() {
    QTest::addColumn<Vector>("u");
    QTest::addColumn<Vector>("v");
    QTest::addColumn<bool>("shown");
    QTest::newRow("parallel vectors") << Vector{1, 2, 3} << Vector{2, 4, 6} << true;
    QTest::newRow("opposite vectors") << Vector{1, 2, 3} << Vector{-1, -2, -3} << true;
    QTest::newRow("zero vector") << Vector{0, 0, 0} << Vector{4, 5, 6} << true;
    QTest::newRow("results that underflow to zero")
        << Vector{1e-200, 0, 0} << Vector{0, 1e-200, 0} << true;
    QTest::newRow("perpendicular vectors are not parallel")
        << Vector{1, 0, 0} << Vector{0, 1, 0} << false;
    QTest::newRow("general vectors") << Vector{1, 2, 3} << Vector{4, 5, 6} << false;
    QTest::newRow("a tiny but non-zero result")
        << Vector{1e-160, 0, 0} << Vector{0, 1e-160, 0} << false;
}

void TestCalculate::parallelNotice() {
    QFETCH(Vector, u);
    QFETCH(Vector, v);
    QFETCH(bool, shown);
    MapFields fields = fieldsFor(u, v);
    const Outcome outcome = run(fields);
    QVERIFY(!outcome.error);
    QCOMPARE(outcome.shown, shown ? QStringList{"they are parallel!!"} : QStringList{});
}

void TestCalculate::followsTheLocale() {
    const rt::NumberFormat german(QLocale(QLocale::German, QLocale::Germany));
    MapFields fields{{"a", "1,5"}, {"b", "0"}, {"c", "0"}, {"d", "0"}, {"e", "2,25"}, {"f", "0"}};
    QVERIFY(!run(fields, german).error);
    QCOMPARE(fields["z"], "3,375");
    fields.set("a", "1.5");
    QCOMPARE(run(fields, german).error->subject(), "a");
}

QTEST_APPLESS_MAIN(TestCalculate)
#include "tst_calculate.moc"
