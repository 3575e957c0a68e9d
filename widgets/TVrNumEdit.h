#pragma once

#include "TVrCustomEdit.h"
#include "VrNumberText.h"

// A one-line box for a number. Only digits, one decimal separator (the system locale's), a sign
// toggle and backspace can be typed; text pasted, dropped or committed by an input method goes in as
// its characters would have been typed, the rest dropped. Leaving the box checks the number against
// MinValue..MaxValue (OnError when it fails, the text left as typed) and otherwise rewrites it with
// Decimals decimals. User-interface thread only.
class TVrNumEdit : public TVrCustomEdit {
    Q_OBJECT
public:
    explicit TVrNumEdit(QWidget* parent = nullptr);

    double MinValue() const { return m_minValue; }
    // Accepted only below MaxValue; then the text is validated.
    void SetMinValue(double Value);
    double MaxValue() const { return m_maxValue; }
    // Accepted only above MinValue; then the text is validated.
    void SetMaxValue(double Value);
    int Decimals() const { return m_decimals; }
    // 0..18; 0 also forbids typing the decimal separator.
    void SetDecimals(int Value);
    bool RestoreOnEsc() const { return m_restoreOnEsc; }
    void SetRestoreOnEsc(bool Value) { m_restoreOnEsc = Value; }

    // MinValue for an empty text; throws EFloatConvertError for a text that is not a number.
    double Value() const;
    // Shows Value (up to 15 significant digits), then validates.
    void SetValue(double Value);

    // Checks the text: an empty box passes; a non-number or a number out of range fires OnError;
    // a good number is rewritten with Decimals decimals.
    void Validate();

    // The decimal separator in use: the default locale's (the system's unless the program changed it).
    static QChar DecimalSeparator();

signals:
    // Validation failed. *CanExit is true on entry; a handler that sets it false keeps the focus in
    // the box.
    void OnError(QObject* Sender, bool* CanExit);

protected:
    bool KeyPress(QChar Key) override;
    void InsertText(const QString& Text) override;
    void FocusEntered(Qt::FocusReason Reason) override;
    void FocusLeft(Qt::FocusReason Reason) override;

private:
    VrNumEditKeyContext KeyContext() const;

    double m_minValue = 0;
    double m_maxValue = 9999;
    int m_decimals = 0;
    bool m_restoreOnEsc = false;
    QString m_savedText;
};
