// The host build has no GDI+: the meter rates but never draws.
#include "app/PasswordStrengthMeter.h"

CPasswordStrengthMeter::CPasswordStrengthMeter() = default;

CPasswordStrengthMeter::~CPasswordStrengthMeter() = default;
