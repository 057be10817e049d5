#include "app/Form.h"

// Placeholder until error correction is built.
void TForm3::Button13Click() {}
