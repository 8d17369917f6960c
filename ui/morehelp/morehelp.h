#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TdlgMoreHelp;
}

// The help dialog: usage instructions, a reference article with its chart and
// the licence agreement on three pages. Built afresh for every showing, so
// nothing of one showing (page, scroll position, edits) reaches the next.
class TdlgMoreHelp : public QDialog {
    Q_OBJECT
public:
    explicit TdlgMoreHelp(QWidget* parent = nullptr);
    ~TdlgMoreHelp() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BitBtn1Click();

    std::unique_ptr<Ui::TdlgMoreHelp> m_ui;
};
