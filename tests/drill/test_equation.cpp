#include "drill/equation.h"
#include "drill/problem_generator.h"

#include <QTest>
#include <deque>
#include <map>

class TestEquation : public QObject {
    Q_OBJECT
private slots:
    void evaluation_data();
    void evaluation();
    void hundredths_data();
    void hundredths();
    void everyLevelKeepsItsKindsRules_data();
    void everyLevelKeepsItsKindsRules();
    void kindsAreUniform_data();
    void kindsAreUniform();
    void redrawRulesKeepWhatTheySay();
    void kindChoiceNeverReachesTheNextKind();
};

Q_DECLARE_METATYPE(Op)

void TestEquation::evaluation_data()
{
    QTest::addColumn<int>("n1");
    QTest::addColumn<Op>("op1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<Op>("op2");
    QTest::addColumn<int>("n3");
    QTest::addColumn<QString>("shown"); // "" when there is no value
    QTest::newRow("plus minus") << 2 << Op::Plus << 3 << Op::Minus << 5 << "0";
    QTest::newRow("minus plus") << 2 << Op::Minus << 3 << Op::Plus << 5 << "4";
    QTest::newRow("times minus") << 2 << Op::Times << 3 << Op::Minus << 5 << "1";
    QTest::newRow("divide times left to right") << 6 << Op::Divide << 2 << Op::Times << 3 << "9";
    QTest::newRow("plus before divide is divide first") << 2 << Op::Plus << 3 << Op::Divide << 10 << "2.3";
    QTest::newRow("negative floors down") << 2 << Op::Divide << 10 << Op::Minus << 9 << "-8.8";
    QTest::newRow("negative thirds floor, not truncate") << 2 << Op::Divide << 3 << Op::Minus << 5 << "-4.34";
    QTest::newRow("fraction plus") << 10 << Op::Divide << 4 << Op::Plus << 2 << "4.5";
    QTest::newRow("thirds") << 7 << Op::Divide << 3 << Op::Plus << 2 << "4.33";
    QTest::newRow("divide divide") << 8 << Op::Divide << 2 << Op::Divide << 4 << "1";
    QTest::newRow("minus times") << 2 << Op::Minus << 3 << Op::Times << 4 << "-10";
    QTest::newRow("empty blank has no value") << 2 << Op::None << 3 << Op::Plus << 4 << "";
}

void TestEquation::evaluation()
{
    QFETCH(int, n1);
    QFETCH(Op, op1);
    QFETCH(int, n2);
    QFETCH(Op, op2);
    QFETCH(int, n3);
    QFETCH(QString, shown);
    const auto v = evaluate(n1, op1, n2, op2, n3);
    QCOMPARE(v.has_value(), !shown.isEmpty());
    if (v) QCOMPARE(v->hundredthsText(), shown);
}

void TestEquation::hundredths_data()
{
    QTest::addColumn<qint64>("num");
    QTest::addColumn<qint64>("den");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << qint64(12) << qint64(1) << "12";
    QTest::newRow("one decimal, no trailing zero") << qint64(-5) << qint64(2) << "-2.5";
    QTest::newRow("small negative") << qint64(-1) << qint64(20) << "-0.05";
    QTest::newRow("just under a hundredth") << qint64(1) << qint64(101) << "0";
    QTest::newRow("zero") << qint64(0) << qint64(7) << "0";
    QTest::newRow("ten thirds") << qint64(10) << qint64(3) << "3.33";
}

void TestEquation::hundredths()
{
    QFETCH(qint64, num);
    QFETCH(qint64, den);
    QTEST(Rational(num, den).hundredthsText(), "text");
}

// Every problem of every level is whole, in range, built from an operator
// pair of its level, and is no look-alike.
void TestEquation::everyLevelKeepsItsKindsRules_data()
{
    QTest::addColumn<int>("level");
    for (int l = 1; l <= 4; ++l) QTest::newRow(qPrintable(QString("level %1").arg(l))) << l;
}

void TestEquation::everyLevelKeepsItsKindsRules()
{
    QFETCH(int, level);
    static const Op ops[17][2] = {{},
                                  {Op::Plus, Op::Plus},
                                  {Op::Plus, Op::Minus},
                                  {Op::Minus, Op::Plus},
                                  {Op::Minus, Op::Minus},
                                  {Op::Times, Op::Times},
                                  {Op::Times, Op::Divide},
                                  {Op::Divide, Op::Times},
                                  {Op::Divide, Op::Divide},
                                  {Op::Times, Op::Plus},
                                  {Op::Times, Op::Minus},
                                  {Op::Divide, Op::Plus},
                                  {Op::Divide, Op::Minus},
                                  {Op::Plus, Op::Times},
                                  {Op::Plus, Op::Divide},
                                  {Op::Minus, Op::Times},
                                  {Op::Minus, Op::Divide}};
    const auto low = [](Op o) { return o == Op::Plus || o == Op::Minus; };
    RandomSource random;
    random.seed(1234 + level);
    for (int i = 0; i < 20000; ++i) {
        const EquationProblem p = generateProblem(level, random);
        for (int n : {p.n1, p.n2, p.n3}) QVERIFY(n >= kOperandMin && n <= kOperandMax);
        QVERIFY(p.r >= 0 && p.r <= kLargestResult);
        QVERIFY2(!(p.r == p.n1 && p.n3 == p.n2), "look-alike problem shown");
        const Op a = ops[p.kind][0], b = ops[p.kind][1];
        const auto v = evaluate(p.n1, a, p.n2, b, p.n3);
        QVERIFY(v && v->isWhole() && v->num() == p.r);
        // No intermediate value of the building pair is negative or fractional.
        if (low(a) == low(b) || !low(a)) {
            const auto left = evaluate(p.n1, a, p.n2, Op::Plus, 0);
            QVERIFY(left && left->isWhole() && left->num() >= 0);
        } else {
            const auto right = evaluate(p.n2, b, p.n3, Op::Plus, 0);
            QVERIFY(right && right->isWhole());
        }
        switch (level) {
        case 1: QVERIFY(p.kind >= 1 && p.kind <= 4); break;
        case 2: QVERIFY(p.kind >= 5 && p.kind <= 8); break;
        case 3: QVERIFY(p.kind >= 9 && p.kind <= 16 && low(a) != low(b)); break;
        default: QVERIFY(p.kind >= 1 && p.kind <= 16); break;
        }
        if (p.kind == 5) QVERIFY(p.r <= 100);
        if (p.kind == 8) QVERIFY(p.r == 1 || p.r == 2);
    }
}

void TestEquation::kindsAreUniform_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("critical"); // chi-square, p = 0.001
    QTest::newRow("level 1") << 1 << 1 << 4 << 16.27;
    QTest::newRow("level 2") << 2 << 5 << 4 << 16.27;
    QTest::newRow("level 3") << 3 << 9 << 8 << 24.32;
    QTest::newRow("level 4") << 4 << 1 << 16 << 37.70;
}

void TestEquation::kindsAreUniform()
{
    QFETCH(int, level);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(double, critical);
    RandomSource random;
    random.seed(99);
    const int n = 32000;
    std::map<int, int> seen;
    for (int i = 0; i < n; ++i) ++seen[generateProblem(level, random).kind];
    QCOMPARE(int(seen.size()), count);
    double chi = 0;
    const double expected = double(n) / count;
    for (int k = first; k < first + count; ++k) chi += (seen[k] - expected) * (seen[k] - expected) / expected;
    QVERIFY2(chi < critical, qPrintable(QString("chi-square %1").arg(chi)));
}

// u for an operand value: floor(2 + 9u) = v.
static float u(int v) { return float((v - 2 + 0.5) / 9.0); }

void TestEquation::redrawRulesKeepWhatTheySay()
{
    auto scripted = [](std::deque<float> values) {
        return [values]() mutable {
            const float v = values.front();
            values.pop_front();
            return v;
        };
    };
    // Kind 14 keeps its first N1 while N2 ÷ N3 is redrawn.
    EquationProblem p = buildProblem(14, scripted({u(5), u(7), u(2), u(9), u(4), u(8), u(4)}));
    QCOMPARE(p.n1, 5);
    QCOMPARE(p.n2, 8);
    QCOMPARE(p.n3, 4);
    QCOMPARE(p.r, 7);
    // Kind 16 draws a fresh N1 only when the result would be negative.
    p = buildProblem(16, scripted({u(2), u(9), u(3), u(10), u(8), u(2)}));
    QCOMPARE(p.n1, 10);
    QCOMPARE(p.r, 6);
    // Kind 7 redraws N1 and N2 only; N3 is drawn after they pass.
    p = buildProblem(7, scripted({u(7), u(2), u(6), u(2), u(3)}));
    QCOMPARE(p.n1, 6);
    QCOMPARE(p.n2, 2);
    QCOMPARE(p.n3, 3);
    QCOMPARE(p.r, 9);
    // 6 ÷ 3 × 3 ＝ 6 is a look-alike and thrown away; the next one stands.
    p = buildProblem(7, scripted({u(6), u(3), u(3), u(6), u(2), u(3)}));
    QCOMPARE(p.r, 9);
    // Kind 5: 10 × 10 × 10 is redrawn, 5 × 4 × 5 ＝ 100 stands.
    p = buildProblem(5, scripted({u(10), u(10), u(10), u(5), u(4), u(5)}));
    QCOMPARE(p.r, 100);
    QCOMPARE(buildProblem(13, [] { return 0.99999f; }).r, kLargestResult); // 10 ＋ 10 × 10
}

void TestEquation::kindChoiceNeverReachesTheNextKind()
{
    const float almostOne = 1.0f - 1.0f / 16777216.0f;
    QCOMPARE(chooseKind(1, almostOne), 4);
    QCOMPARE(chooseKind(2, almostOne), 8);
    QCOMPARE(chooseKind(3, almostOne), 16);
    QCOMPARE(chooseKind(4, almostOne), 16);
    QCOMPARE(chooseKind(4, 0.0f), 1);
    RandomSource r;
    for (int i = 0; i < 100000; ++i) QVERIFY(r.uniform() < 1.0f);
}

QTEST_GUILESS_MAIN(TestEquation)
#include "test_equation.moc"
