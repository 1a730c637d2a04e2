#include "about/about_box.h"

#include "about/about_info.h"
#include "base/twips.h"
#include "state/shared_state.h"
#include "ui/fonts.h"
#include "ui/screen.h"

#include <QLabel>
#include <QPushButton>

AboutBox::AboutBox(const SharedState& s, QWidget* parent) : QDialog(parent), state_(s)
{
    setObjectName(QStringLiteral("frmver"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);
    setFixedSize(tw(6000), tw(4560));

    title_ = label(QStringLiteral("Label1"), 360, 240, 5280, 660, 20, true);
    version_ = label(QStringLiteral("Label2"), 360, 960, 5280, 360, 12);
    maker_ = label(QStringLiteral("Label4"), 360, 1380, 5280, 360, 12);
    description_ = label(QStringLiteral("Label5"), 360, 1800, 5280, 360, 10);
    label(QStringLiteral("Label6"), 360, 2400, 5280, 330, 10)->setText(QStringLiteral("最新情報は下記まで"));
    // The two pages are only named here; clicking them does nothing.
    label(QStringLiteral("Label7"), 720, 2760, 4920, 330, 10)->setText(QStringLiteral("Quorvaneホームページ"));
    label(QStringLiteral("Label3"), 720, 3090, 4920, 330, 10)->setText(QStringLiteral("ベクターホームページ"));

    auto* ok = new QPushButton(QStringLiteral("O.K."), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setFont(designFont(kPGothic, 11));
    ok->setGeometry(twRect(2160, 3660, 1680, 540));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel* AboutBox::label(const QString& name, double left, double top, double width, double height, double points,
                        bool bold)
{
    return Screen::make<QLabel>(this, name, twRect(left, top, width, height), designFont(kPGothic, points, bold));
}

void AboutBox::fillTexts()
{
    title_->setText(state_.contentTitle);
    version_->setText(programVersionText());
    maker_->setText(kMakerName);
    description_->setText(QStringLiteral("式に＋－×÷を入れて完成させる計算ドリル"));
}
