#include "AboutBoxUnit.h"

#include "buttonkeys.h"
#include "buttonpicture.h"
#include "contrast.h"
#include "errorbox.h"
#include "morehelp.h"
#include "programfont.h"
#include "resourcepicture.h"
#include "resourcetext.h"
#include "ui_AboutBoxUnit.h"
#include "windowplacement.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QPixmap>
#include <QUrl>

namespace {

QFont arial(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    return font;
}

// Links look like links: underlined, pure blue, with the hand cursor. Where
// pure blue would not stand out from the window, as in a dark theme, they take
// the theme's link colour, or its text colour where that does not stand out
// either; the underline still marks them.
void makeLink(QLabel* label)
{
    QFont font = arial(11);
    font.setUnderline(true);
    label->setFont(font);
    const QWidget* window = label->window();
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     readableOn(window->palette().color(window->backgroundRole()),
                                {QColor(0, 0, 255), palette.color(QPalette::Link),
                                 palette.color(QPalette::WindowText)}));
    label->setPalette(palette);
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_ui(std::make_unique<Ui::TAboutBox>())
{
    // The notice box lays out its text in the default font before it takes
    // the window's: see ProgramFontAsDefault.
    const ProgramFontAsDefault fontWhileBuilding;
    setFont(programFont());
    m_ui->setupUi(this);
    setFixedSize(327, 303);

    QFont productFont = arial(21);
    productFont.setBold(true);
    m_ui->ProductName->setFont(productFont);
    m_ui->ProductName->adjustSize();
    m_ui->Comments->setFont(arial(11));
    m_ui->Comments->setFixedHeight(m_ui->Comments->heightForWidth(m_ui->Comments->width()));
    m_ui->Label1->adjustSize();

    makeLink(m_ui->lbldravik);
    m_ui->lbldravik->adjustSize();
    makeLink(m_ui->lblemail); // keeps its designed width: a longer address is cut
    m_ui->lblemail->setToolTip(QStringLiteral("mail to: ") + m_ui->lblemail->text().toLower());
    connect(m_ui->lbldravik, &LinkLabel::clicked, this,
            [this] { runGuarded([this] { lbldravikClick(); }); });
    connect(m_ui->lblemail, &LinkLabel::clicked, this,
            [this] { runGuarded([this] { lblemailClick(); }); });

    // The product picture is the program icon, enlarged pixel for pixel.
    m_ui->Image1->setPixmap(
        resourcePixmap(QStringLiteral(":/pictures/icon.bmp"))
            .scaled(m_ui->Image1->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));

    m_ui->RichEdit1->setPlainText(resourceText(QStringLiteral(":/texts/freeware.txt")));

    m_ui->OKbtn->setIcon(buttonPicture(QStringLiteral(":/pictures/close.bmp")));
    m_ui->OKbtn->setIconSize({18, 18});
    m_ui->BitBtn1->setIcon(buttonPicture(QStringLiteral(":/pictures/question.bmp")));
    m_ui->BitBtn1->setIconSize({18, 18});
    connect(m_ui->OKbtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->BitBtn1, &QPushButton::clicked, this,
            [this] { runGuarded([this] { BitBtn1Click(); }); });

    installButtonKeys(this);
    m_ui->OKbtn->setFocus();

    centreOnScreenOf(this, parent);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::keyPressEvent(QKeyEvent* event)
{
    // There is no cancel button, so Escape does nothing.
    if (event->matches(QKeySequence::Cancel))
        return;
    QDialog::keyPressEvent(event);
}

void TAboutBox::lbldravikClick()
{
    // The site address in the hint leads to its home page. What the desktop
    // makes of the request is its own affair.
    QDesktopServices::openUrl(QUrl(m_ui->lbldravik->toolTip() + QStringLiteral("index.html")));
}

void TAboutBox::lblemailClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + m_ui->lblemail->text()));
}

void TAboutBox::BitBtn1Click()
{
    TdlgMoreHelp dialog(this);
    dialog.exec();
}
