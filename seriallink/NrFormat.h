#pragma once
// Formats the log lines of the serial link: %s, %d, %u, %x, %X with optional '-' and width, and %%.
#include <QString>
#include <QVariantList>

QString NrFormat(const QString& format, const QVariantList& args);
