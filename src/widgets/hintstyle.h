#pragma once

#include <QProxyStyle>

// Shows tool tips (the balloon hints) at once instead of after a pause.
class HintStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

    // Puts the style on the application once.
    static void install();
};
