#include "getdate.h"

#include "ui_getdate.h"

TForm2::TForm2(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
}

TForm2::~TForm2() = default;

DayNumber TForm2::selectedDay() const
{
    return 36994;
}
