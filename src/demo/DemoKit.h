#pragma once
#include <QString>
class DemoKit {
public:
    static bool generate(const QString &root, QString *error);
};
