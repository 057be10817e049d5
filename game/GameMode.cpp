#include "app/Form.h"

// Placeholders until the game is built.
void TForm3::Button15Click() {}
void TForm3::PrepareGameLevel() {}
void TForm3::DrawLevelChart(int) {}
