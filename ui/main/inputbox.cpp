#include "inputbox.h"

#include "buttonkeys.h"
#include "programfont.h"
#include "windowplacement.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

// Dialog units: a horizontal unit is a quarter of the average letter width,
// a vertical unit an eighth of the text height.
struct DialogUnits {
    explicit DialogUnits(const QFontMetrics& metrics)
    {
        const QString letters =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        averageWidth = metrics.horizontalAdvance(letters) / 52;
        textHeight = metrics.height();
    }
    int x(int units) const { return int(std::lround(units * averageWidth / 4.0)); }
    int y(int units) const { return int(std::lround(units * textHeight / 8.0)); }

    int averageWidth = 0;
    int textHeight = 0;
};

} // namespace

std::optional<QString> inputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                                  const QString& initialText)
{
    QDialog box(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    box.setObjectName(QStringLiteral("inputBox"));
    box.setWindowTitle(caption);
    box.setFont(programFont());
    const DialogUnits du{QFontMetrics(box.font())};

    auto* label = new QLabel(prompt, &box);
    label->setObjectName(QStringLiteral("prompt"));
    label->move(du.x(8), du.y(8));
    label->adjustSize();

    QLineEdit* edit = nullptr;
    {
        // A line edit lays out its empty text in the default font before it
        // takes the box's: see ProgramFontAsDefault.
        const ProgramFontAsDefault fontWhileBuilding;
        edit = new QLineEdit(&box);
    }
    edit->setObjectName(QStringLiteral("edit"));
    edit->setMaxLength(255);
    edit->setText(initialText);
    edit->selectAll();
    edit->setGeometry(du.x(8), du.y(19), du.x(164), edit->sizeHint().height());
    label->setBuddy(edit); // screen readers name the box after the prompt

    auto* ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(du.x(38), du.y(41), du.x(50), du.y(14));
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &box);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(du.x(92), du.y(41), du.x(50), du.y(14));
    QObject::connect(cancel, &QPushButton::clicked, &box, &QDialog::reject);

    box.setFixedSize(du.x(180), du.y(63));
    centreOnScreenOf(&box, parent);
    installButtonKeys(&box);
    edit->setFocus();

    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}
