#pragma once

// The report's formats, each written whole from the figures.
#include <QByteArray>
#include <QIODevice>

#include "report/Figures.h"

namespace report {

QByteArray csv(const Collected& collected);
QByteArray htmlFile(const Request& request, const Collected& collected);
void writePdf(QIODevice& device, const Request& request, const Collected& collected);

}  // namespace report
