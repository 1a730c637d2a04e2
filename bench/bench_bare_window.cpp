// The baseline for startup_probe: the least a Qt 6 Widgets program of ours
// has to do before its first paint. One 1024 × 768 window, as the stage is,
// with one Japanese label in IPAGothic, on the same QApplication set-up as
// the program. Nothing is read from disk and nothing else is built.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setObjectName(QStringLiteral("BareWindow"));
    window.setFixedSize(1024, 768);
    window.setWindowTitle(QStringLiteral("空のウィンドウ"));
    QLabel label(QStringLiteral("日本語のラベル"), &window);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(19); // 14 pt at 96 dpi, as the screens size their text
    label.setFont(font);
    label.setGeometry(40, 40, 400, 40);
    window.show();
    return application.exec();
}
