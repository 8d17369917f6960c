#include "AboutBoxUnit.h"

#include "ui_AboutBoxUnit.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
}

TAboutBox::~TAboutBox() = default;
