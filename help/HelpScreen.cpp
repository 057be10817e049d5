#include "app/Form.h"

// Placeholders until the help pages are built.
void TForm3::Button18Click() {}
void TForm3::DrawHelpScreen(int) {}
void TForm3::ShowGameRules() {}
