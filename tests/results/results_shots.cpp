// Pictures of the results screen for looking at the layout:
//   results_shots OUT_FOLDER
// writes record.png (first clearing of the final level with a new record,
// before and after the buttons come), plain.png and timeout.png.
#include "results_fixture.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QDir>

using namespace results_test;

namespace {

bool shoot(Fixture& f, const QString& file, bool buttons)
{
    auto* screen = qobject_cast<ResultsScreen*>(f.stage.current());
    if (!screen) return false;
    if (buttons) screen->showButtons();
    QCoreApplication::processEvents();
    return f.stage.grab().save(file);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    installFontSubstitutions();
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    bool ok = true;
    {
        Fixture f(kTable);
        f.s.pupilName = QStringLiteral("やまだ　はなこ");
        ok &= f.storeRun(4, 30, 2);
        ok &= f.storeRun(4, 40);
        ok &= f.storeRun(4, 25);
        f.showResults();
        ok &= shoot(f, out.filePath(QStringLiteral("record.png")), false);
        ok &= shoot(f, out.filePath(QStringLiteral("record-buttons.png")), true);
    }
    {
        Fixture f(kTable);
        f.s.pupilName = QStringLiteral("すずき　たろう");
        ok &= f.storeRun(3, 50);
        ok &= f.storeRun(3, 75);
        f.showResults();
        ok &= shoot(f, out.filePath(QStringLiteral("plain.png")), true);
    }
    {
        Fixture f(kTable);
        ok &= f.storeRun(2, 99999);
        f.showResults();
        ok &= shoot(f, out.filePath(QStringLiteral("timeout.png")), true);
    }
    return ok ? 0 : 1;
}
