#include "EFloatConvertError.h"

EFloatConvertError::EFloatConvertError(const QString& Text)
    : std::runtime_error(QStringLiteral("'%1' is not a valid floating point value").arg(Text).toStdString()),
      m_text(Text) {}
