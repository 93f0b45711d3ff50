#include "DemoKit.h"
int main() { return DemoKit::generate(QString(), nullptr) ? 0 : 1; }
