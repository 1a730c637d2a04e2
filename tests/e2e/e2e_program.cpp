#include "e2e_program.h"
#include "support/controls.h"

#include "ui/fonts.h"
#include "wav_writer.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <QtEndian>
#include <cstring>

E2eProgram::E2eProgram(Time time)
    : services{time == Time::Test ? static_cast<Clock&>(testClock) : static_cast<Clock&>(systemClock), sound, dialogs,
               launcher, end}
{
    installFontSubstitutions();
}

E2eProgram::~E2eProgram() { qunsetenv("SOLMEA_SOUND_TRACE"); }

bool E2eProgram::start(const std::function<bool(const TestInstallation&)>& write)
{
    if (!inst.dir.isValid()) return false;
    if (write) {
        if (!write(inst)) return false;
        return launch();
    }
    inst.writeDefaults();
    // Every cue the sound list and the results screen name: a short tone each,
    // so a run plays for real without taking long.
    int hz = 500;
    for (const char* name : {"seikai1", "seikai2", "machigai1", "jiko1", "fugoukaku1", "最高1", "合格"}) {
        inst.writeBytes(QStringLiteral("音フォルダ/%1.wav").arg(QString::fromUtf8(name)),
                        renderWav({{double(hz), 0.08}}));
        hz += 100;
    }
    return launch();
}

bool E2eProgram::launch()
{
    qputenv("SOLMEA_SOUND_TRACE", tracePath().toUtf8());
    if (!startUp(stage.app(), inst.programFolder(), &lock)) return false;
    stage.activateWindow();
    return QTest::qWaitForWindowActive(&stage);
}

QString E2eProgram::screenName() const { return stage.current() ? stage.current()->objectName() : QString(); }

QString E2eProgram::text(const QString& name) const { return textOf(find(name), name); }

bool E2eProgram::shown(const QString& name) const
{
    QWidget* w = find(name);
    return w && w->isVisible();
}

namespace {
bool xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForStarted(5000)) {
        qWarning("xdotool is needed (scripts/setup.sh installs it)");
        return false;
    }
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
} // namespace

bool E2eProgram::click(QWidget* w, std::optional<QPoint> at)
{
    if (!w || !w->isVisible()) return false;
    const QPoint global = w->mapToGlobal(at.value_or(w->rect().center()));
    return xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y()),
                    QStringLiteral("click"), QStringLiteral("1")});
}

bool E2eProgram::keys(const QStringList& names)
{
    return xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} + names);
}

QStringList E2eProgram::traceLines() const
{
    QFile f(tracePath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QString E2eProgram::soundFolderString() const
{
    // Layout 0: the data folder is the program folder's parent, "..\" kept.
    QString folder = inst.programFolder();
    folder.replace(u'/', u'\\');
    return folder + QStringLiteral("\\..\\音フォルダ\\");
}

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

QByteArray E2eProgram::resultFile() const
{
    return fileBytes(inst.path(QStringLiteral("ソルメア/成績累積データ.dat")));
}
QByteArray E2eProgram::sharedLog() const { return fileBytes(inst.path(QStringLiteral("成績累積データ家庭用.dat"))); }

std::optional<ShownEquation> readEquation(const E2eProgram& p)
{
    ShownEquation e;
    for (int i = 1; i <= 4; ++i) {
        bool ok = false;
        const qint64 v = p.text(QStringLiteral("LblDD3(%1)").arg(i)).toLongLong(&ok);
        if (!ok) return std::nullopt;
        (i == 4 ? e.r : e.n[i - 1]) = v;
    }
    return e;
}

namespace {
qint64 gcd(qint64 a, qint64 b)
{
    a = a < 0 ? -a : a;
    while (b != 0) {
        const qint64 t = a % b;
        a = b;
        b = t < 0 ? -t : t;
    }
    return a == 0 ? 1 : a;
}

std::optional<Fraction> apply(Fraction a, int op, Fraction b)
{
    Fraction r;
    switch (op) {
    case 1: r = {a.num * b.den + b.num * a.den, a.den * b.den}; break;
    case 2: r = {a.num * b.den - b.num * a.den, a.den * b.den}; break;
    case 3: r = {a.num * b.num, a.den * b.den}; break;
    case 4:
        if (b.num == 0) return std::nullopt;
        r = {a.num * b.den, a.den * b.num};
        break;
    default: return std::nullopt;
    }
    if (r.den < 0) r = {-r.num, -r.den};
    const qint64 g = gcd(r.num, r.den);
    return Fraction{r.num / g, r.den / g};
}
} // namespace

std::optional<Fraction> valueOf(const ShownEquation& e, int op1, int op2)
{
    const Fraction a{e.n[0], 1}, b{e.n[1], 1}, c{e.n[2], 1};
    const bool secondFirst = (op1 == 1 || op1 == 2) && (op2 == 3 || op2 == 4);
    if (secondFirst) {
        const auto bc = apply(b, op2, c);
        return bc ? apply(a, op1, *bc) : std::nullopt;
    }
    const auto ab = apply(a, op1, b);
    return ab ? apply(*ab, op2, c) : std::nullopt;
}

std::optional<std::pair<int, int>> rightPair(const ShownEquation& e)
{
    for (int a = 1; a <= 4; ++a)
        for (int b = 1; b <= 4; ++b) {
            const auto v = valueOf(e, a, b);
            if (v && v->num == e.r && v->den == 1) return std::pair{a, b};
        }
    return std::nullopt;
}

std::optional<std::pair<int, int>> wrongPair(const ShownEquation& e, const std::vector<std::pair<int, int>>& candidates)
{
    std::vector<std::pair<int, int>> all = candidates;
    for (int a = 1; a <= 4; ++a)
        for (int b = 1; b <= 4; ++b) all.push_back({a, b});
    for (const auto& [a, b] : all) {
        const auto v = valueOf(e, a, b);
        if (v && !(v->num == e.r && v->den == 1)) return std::pair{a, b};
    }
    return std::nullopt;
}

QString hundredths(const Fraction& f)
{
    qint64 h = (f.num * 100) / f.den;
    if ((f.num * 100) % f.den != 0 && f.num < 0) --h; // towards minus infinity
    const qint64 a = h < 0 ? -h : h;
    QString s = QString::number(a / 100);
    if (a % 100 != 0) {
        s += u'.' + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
        if (s.endsWith(u'0')) s.chop(1);
    }
    return h < 0 ? u'-' + s : s;
}

double serialDay(const QDate& d) { return double(QDate(1899, 12, 30).daysTo(d)); }

namespace {
template <typename T> void put(QByteArray& out, T v)
{
    char b[sizeof(T)];
    qToLittleEndian(v, b);
    out.append(b, sizeof(T));
}
void putDouble(QByteArray& out, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    put(out, bits);
}
QByteArray padded(QByteArray text, int width)
{
    text.truncate(width);
    return text + QByteArray(width - text.size(), ' ');
}
} // namespace

QByteArray expectedResultRecord(double date, double time, qint16 pupil, qint16 level, qint32 score,
                                const QByteArray& siteCode)
{
    QByteArray r;
    putDouble(r, date);
    putDouble(r, time);
    put(r, pupil);
    put(r, level);
    put(r, score);
    r += padded(siteCode, 5) + QByteArray(5, ' ') + padded("0", 5) + QByteArray(5, '\0');
    return r;
}

QByteArray expectedSharedLogRecord(const QByteArray& titleFolder, double date, double time, qint16 pupil, qint16 level,
                                   qint32 score, const QByteArray& siteCode)
{
    QByteArray r = padded(titleFolder, 20);
    put(r, qint16(0));
    putDouble(r, date);
    putDouble(r, time);
    put(r, pupil);
    put(r, level);
    put(r, score);
    r += padded(siteCode, 5) + QByteArray(15, '\0');
    return r;
}

int runPoints(int score, int target)
{
    if (score >= 99998) return 0;
    if (score <= target) {
        const double q = double(target - score) / target;
        return int(q * q * q * 50 + 5);
    }
    if (score < 2 * target) return 4;
    if (score < 10 * target) return 1;
    return 0;
}

bool waitForScreen(const E2eProgram& p, const QString& name, int ms)
{
    return QTest::qWaitFor(
        [&] {
            if (p.screenName() != name) return false;
            if (name == u"namesel") return !p.shown(QStringLiteral("Picture5"));
            // The title is written by the show step, the wait panel taken down at its end.
            if (name == u"seisekitime1")
                return !p.text(QStringLiteral("Label11")).isEmpty() && !p.shown(QStringLiteral("Picture2"));
            if (name == u"MainFrm") return readEquation(p).has_value();
            if (name == u"FrmSyuuryou") return p.shown(QStringLiteral("Command4"));
            return true;
        },
        ms);
}

bool placeOperators(const E2eProgram& p, std::pair<int, int> pair)
{
    const int ops[2] = {pair.first, pair.second};
    for (int b = 0; b < 2; ++b) {
        if (!E2eProgram::click(p.find(QStringLiteral("LblDD1(%1)").arg(ops[b])))) return false;
        const QString blank = QStringLiteral("LblDD2(%1)").arg(b + 1);
        if (!QTest::qWaitFor([&] { return p.text(blank) == kOperatorCaptions[std::size_t(ops[b])]; }, 10000))
            return false;
    }
    return true;
}
