#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TdlgMoreHelp;
}

class TdlgMoreHelp : public QDialog {
    Q_OBJECT
public:
    explicit TdlgMoreHelp(QWidget* parent = nullptr);
    ~TdlgMoreHelp() override;

private:
    std::unique_ptr<Ui::TdlgMoreHelp> ui;
};
