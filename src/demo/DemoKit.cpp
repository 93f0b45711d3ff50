#include "DemoKit.h"
bool DemoKit::generate(const QString &, QString *error) {
    if (error)
        *error = QStringLiteral("not written yet");
    return false;
}
