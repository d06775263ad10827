#include "sync/session/HandheldPasswordCheck.h"

#include <algorithm>

#include "core/store/PasswordVerifier.h"

namespace {

bool IsAllZero(const std::vector<uint8_t>& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

}  // namespace

bool HandheldPasswordMatches(const CString& databasePath, const std::vector<uint8_t>& crib,
                             const CSecretString& password)
{
    uint8_t stored[kVerifierSize] = {};
    const int read = ReadPasswordVerifier(databasePath, stored);
    if (read != 0 && read != kVerifierNoFile) return false;
    if (read == kVerifierNoFile || VerifierIsZero(stored)) {
        return password.IsEmpty() && (crib.empty() || (crib.size() == kVerifierSize && IsAllZero(crib)));
    }
    if (crib.size() != kVerifierSize || !VerifiersEqual(crib.data(), stored)) return false;
    uint8_t fromPassword[kVerifierSize] = {};
    if (MakeCheckVerifier(password, fromPassword) != 0) return false;
    return VerifiersEqual(fromPassword, stored);
}
