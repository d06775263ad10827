// The host build draws nothing: no section or DC is ever made.
#include "toolkit/buttons/CeXDib.h"

void CCeXDib::ReleaseDrawing() {}
void CCeXDib::Draw(CDC*, int, int) {}
