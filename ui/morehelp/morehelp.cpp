#include "morehelp.h"

#include "buttonkeys.h"
#include "buttonpicture.h"
#include "programfont.h"
#include "resourcepicture.h"
#include "resourcetext.h"
#include "ui_morehelp.h"
#include "windowplacement.h"

#include <QKeyEvent>
#include <QPixmap>

namespace {

// A selection shows only while its box has the focus.
void hideSelectionWithoutFocus(QWidget* box)
{
    QPalette palette = box->palette();
    palette.setBrush(QPalette::Inactive, QPalette::Highlight, palette.brush(QPalette::Base));
    palette.setBrush(QPalette::Inactive, QPalette::HighlightedText, palette.brush(QPalette::Text));
    box->setPalette(palette);
}

} // namespace

TdlgMoreHelp::TdlgMoreHelp(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TdlgMoreHelp>())
{
    // The text boxes lay out their text in the default font before they take
    // the window's: see ProgramFontAsDefault.
    const ProgramFontAsDefault fontWhileBuilding;
    setFont(programFont());
    m_ui->setupUi(this);
    setWindowIcon(programIcon());

    m_ui->BitBtn1->setIcon(buttonPicture(QStringLiteral(":/pictures/close.bmp")));
    m_ui->BitBtn1->setIconSize({18, 18});
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &TdlgMoreHelp::BitBtn1Click);

    m_ui->RichEdit1->setPlainText(resourceText(QStringLiteral(":/texts/usage.txt")));
    m_ui->RichEdit2->setPlainText(resourceText(QStringLiteral(":/texts/reference.txt")));
    m_ui->RichEdit3->setPlainText(resourceText(QStringLiteral(":/texts/licence.txt")));
    m_ui->Image1->setPixmap(resourcePixmap(QStringLiteral(":/pictures/chart.bmp")));

    // The read-only pages can still be read with the keyboard: caret,
    // selection and copying work as in the licence box.
    const auto readOnly = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
    m_ui->RichEdit1->setTextInteractionFlags(readOnly);
    m_ui->RichEdit2->setTextInteractionFlags(readOnly);
    for (QWidget* box :
         {static_cast<QWidget*>(m_ui->RichEdit1), static_cast<QWidget*>(m_ui->RichEdit2),
          static_cast<QWidget*>(m_ui->RichEdit3)})
        hideSelectionWithoutFocus(box);

    installButtonKeys(this);
    m_ui->BitBtn1->setFocus();

    // Centred on the screen, wherever the window that opens it stands.
    centreOnScreenOf(this, parent);
}

TdlgMoreHelp::~TdlgMoreHelp() = default;

void TdlgMoreHelp::keyPressEvent(QKeyEvent* event)
{
    // There is no cancel button, so Escape does nothing.
    if (event->matches(QKeySequence::Cancel))
        return;
    QDialog::keyPressEvent(event);
}

void TdlgMoreHelp::BitBtn1Click()
{
    reject(); // the same as closing by the title bar
}
