#include "app/Form.h"

// Placeholders until the statistics screen is built.
void TForm3::Button14Click() {}
void TForm3::Button16Click() {
    if (Button15.tag() == 1) {
        ShowGameRules();
    }
}
void TForm3::DrawStatistics(int) {}
