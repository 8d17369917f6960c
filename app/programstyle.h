#pragma once

#include <QProxyStyle>

// The platform's style with the program's timings: a hint shows half a second
// after the mouse comes to rest and goes after two and a half seconds.
class ProgramStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kHintDelayMs = 500;
    static constexpr int kHintDurationMs = 2500;

    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
