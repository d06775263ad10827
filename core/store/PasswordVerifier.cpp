#include "core/store/PasswordVerifier.h"

#include <cstring>

#include "core/crypto/BlowfishKey.h"
#include "core/store/DatabaseMutex.h"
#include "core/os/PathUtils.h"
#include "framework/CException.h"
#include "framework/CFile.h"

const uint8_t VERIFIER_PLAINTEXT[kVerifierSize] = {'Z', 'o', 'r', 'v', 'i', 'k', 'a', 'n', ' ', 'D', 'e', 's', 'k', 't',
                                                   'o', 'p', ' ', 'm', 'a', 's', 't', 'e', 'r', ' ', 'p', 'a', 's', 's',
                                                   'w', 'o', 'r', 'd', ' ', 'c', 'h', 'e', 'c', 'k', '.', 0};

namespace {

int MakeKeyedVerifier(const CSecretString& password, uint8_t out[kVerifierSize])
{
    memset(out, 0, kVerifierSize);
    BlowfishKeyPtr key = MakeBlowfishKey(password);
    if (!key) return -1;
    MakeVerifierWithKey(key.get(), out);
    return 0;
}

CString DatabasePathIn(const CString& userFolder) { return JoinPath(userFolder, kDatabaseFileName); }

}  // namespace

void MakeVerifierWithKey(const BlowfishContext* key, uint8_t out[kVerifierSize])
{
    memcpy(out, VERIFIER_PLAINTEXT, kVerifierSize);
    BlowfishCryptInPlace(kVerifierSize, out, key, 1);
}

int MakePasswordVerifier(const CSecretString& password, uint8_t out[kVerifierSize])
{
    if (password.IsEmpty()) {
        memset(out, 0, kVerifierSize);
        return 0;
    }
    return MakeKeyedVerifier(password, out);
}

int MakeCheckVerifier(const CSecretString& password, uint8_t out[kVerifierSize])
{
    return MakeKeyedVerifier(password, out);
}

bool VerifiersEqual(const uint8_t a[kVerifierSize], const uint8_t b[kVerifierSize])
{
    return memcmp(a, b, kVerifierSize) == 0;
}

bool VerifierIsZero(const uint8_t v[kVerifierSize])
{
    for (int i = 0; i < kVerifierSize; ++i)
        if (v[i]) return false;
    return true;
}

int ReadPasswordVerifier(const CString& filePath, uint8_t out[kVerifierSize])
{
    memset(out, 0, kVerifierSize);
    CDatabaseMutexLock lock(DatabaseMutexWaitMs());
    if (!lock.IsLocked()) return lock.Error();
    uint8_t bytes[kVerifierSize];
    try {
        CFile file;
        CFileException error;
        if (!file.Open(filePath.GetString(), CFile::modeRead | CFile::shareDenyWrite, &error)) {
            if (error.m_cause == CFileException::fileNotFound || error.m_cause == CFileException::badPath)
                return kVerifierNoFile;
            return error.m_lOsError > 0 ? static_cast<int>(error.m_lOsError) : -1;
        }
        UINT got = 0;
        while (got < kVerifierSize) {
            UINT n = file.Read(bytes + got, kVerifierSize - got);
            if (n == 0) break;
            got += n;
        }
        file.Close();
        if (got < kVerifierSize) return -1;  // too short to be a database file
    } catch (const CFileException& e) {
        return e.m_lOsError > 0 ? static_cast<int>(e.m_lOsError) : -1;
    } catch (const CException&) {
        return -1;
    }
    memcpy(out, bytes, kVerifierSize);
    return 0;
}

int ReadUserDbVerifier(uint8_t out[kVerifierSize], const CString& userFolder)
{
    // A user without a folder has no database (and must not read one from
    // the current directory).
    if (userFolder.IsEmpty()) {
        memset(out, 0, kVerifierSize);
        return kVerifierNoFile;
    }
    return ReadPasswordVerifier(DatabasePathIn(userFolder), out);
}

bool DatabaseFileHasPassword(const CString& filePath)
{
    uint8_t verifier[kVerifierSize];
    const int result = ReadPasswordVerifier(filePath, verifier);
    if (result == kVerifierNoFile) return false;
    return result != 0 || !VerifierIsZero(verifier);
}

bool UserHasMasterPassword(const CString& userFolder)
{
    uint8_t verifier[kVerifierSize];
    const int result = ReadUserDbVerifier(verifier, userFolder);
    if (result == kVerifierNoFile) return false;
    return result != 0 || !VerifierIsZero(verifier);
}

bool CheckDatabasePassword(const CString& filePath, const CString* password)
{
    if (!password) return true;
    uint8_t candidate[kVerifierSize];
    if (MakeCheckVerifier(*password, candidate) != 0) return false;
    uint8_t stored[kVerifierSize];
    if (ReadPasswordVerifier(filePath, stored) != 0) return false;
    return VerifiersEqual(candidate, stored);
}
