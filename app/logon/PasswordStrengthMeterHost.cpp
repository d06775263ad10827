// The host build has no GDI+: the meter rates but never draws.
#include "app/logon/PasswordStrengthMeter.h"

CPasswordStrengthMeter::CPasswordStrengthMeter() = default;

CPasswordStrengthMeter::~CPasswordStrengthMeter() = default;
