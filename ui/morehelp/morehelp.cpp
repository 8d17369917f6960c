#include "morehelp.h"

#include "ui_morehelp.h"

TdlgMoreHelp::TdlgMoreHelp(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TdlgMoreHelp>())
{
    ui->setupUi(this);
}

TdlgMoreHelp::~TdlgMoreHelp() = default;
