#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TAboutBox;
}

// The About box: the program's name, version and maker, links to the maker's
// web site and sales mail address, and the freeware notice. Built afresh for
// every showing, so edits to the notice are gone at the next opening.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void lbldravikClick();
    void lblemailClick();
    void BitBtn1Click();

    std::unique_ptr<Ui::TAboutBox> m_ui;
};
