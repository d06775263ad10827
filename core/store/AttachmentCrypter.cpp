#include "core/store/AttachmentCrypter.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "core/os/FileSystemOs.h"
#include "core/os/FileUtils.h"
#include "core/crypto/PasswordGenerator.h"
#include "core/os/PathUtils.h"
#include "core/store/ReplacingFile.h"
#include "core/crypto/SecureZero.h"
#include "framework/CException.h"
#include "framework/CFile.h"

namespace {

const size_t kChunkSize = 4096;
// The block routines take 16-bit lengths; longer buffers go in whole-block pieces.
const size_t kMaxPiece = 0xFFF8;

void CryptBlocks(const BlowfishContext* ctx, uint8_t* buffer, size_t length, bool encrypt)
{
    for (size_t done = 0; done < length;) {
        const size_t piece = length - done < kMaxPiece ? length - done : kMaxPiece;
        if (encrypt)
            BlowfishEncryptECB(ctx, buffer + done, buffer + done, static_cast<uint16_t>(piece));
        else
            BlowfishDecryptECB(ctx, buffer + done, buffer + done, static_cast<uint16_t>(piece));
        done += piece;
    }
}

int OsErrorOf(const CFileException& e) { return e.m_lOsError > 0 ? static_cast<int>(e.m_lOsError) : -1; }

}  // namespace

std::vector<uint8_t> BlowfishEncryptChunk(const BlowfishContext* ctx, const uint8_t* data, size_t& length)
{
    if (!data || length == 0 || length > SIZE_MAX - 7) {
        length = 0;
        return {};
    }
    const size_t padded = (length + 7) & ~static_cast<size_t>(7);
    std::vector<uint8_t> out(padded, 0);
    std::memcpy(out.data(), data, length);
    CryptBlocks(ctx, out.data(), padded, true);
    length = padded;
    return out;
}

std::vector<uint8_t> BlowfishDecryptChunk(const BlowfishContext* ctx, const uint8_t* data, size_t length)
{
    std::vector<uint8_t> out(length, 0);
    const size_t whole = length & ~static_cast<size_t>(7);
    if (data && whole) {
        std::memcpy(out.data(), data, whole);
        CryptBlocks(ctx, out.data(), whole, false);
    }
    return out;
}

CString NewAttachmentKeyText()
{
    char buffer[kAttachmentKeyLength + 1] = {};
    GeneratePassword(kAttachmentKeyLength, 0x01 | 0x02 | 0x04 | 0x08, buffer);
    CString key(buffer);
    SecureZero(buffer, sizeof buffer);
    return key;
}

CAttachmentCrypter::CAttachmentCrypter(const CString& keyText, const CString& storedFileName,
                                       const CString& attachmentsFolder)
    : m_folder(attachmentsFolder)
{
    if (storedFileName.IsEmpty()) return;
    m_path = JoinPath(attachmentsFolder, storedFileName);
    if (keyText.IsEmpty()) return;
    m_context.reset(new BlowfishContext);
    BlowfishInitContext(m_context.get(), reinterpret_cast<const uint8_t*>(keyText.GetString()), keyText.GetLength());
}

CAttachmentCrypter::~CAttachmentCrypter()
{
    // The key schedule is as secret as the attachment key itself.
    if (m_context) SecureZero(m_context.get(), sizeof(BlowfishContext));
}

int CAttachmentCrypter::EncryptFromFile(const CString& sourcePath)
{
    if (!m_context || m_path.IsEmpty()) return -1;
    if (!PathExists(m_folder)) {
        if (int error = CreateFolderPath(m_folder)) return error;
    }
    return TransformFile(sourcePath, m_path, true);
}

int CAttachmentCrypter::DecryptToFile(const CString& destinationPath)
{
    if (!m_context || m_path.IsEmpty()) return -1;
    return TransformFile(m_path, destinationPath, false);
}

int CAttachmentCrypter::TransformFile(const CString& sourcePath, const CString& destinationPath, bool encrypt)
{
    // The source first: a missing or locked source must not cost the old
    // destination anything.
    CFile source;
    CFileException openError;
    if (!source.Open(zvos::NativePath(sourcePath.Std()).c_str(),
                     CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &openError))
        return OsErrorOf(openError);
    CReplacingFile destination(destinationPath);
    if (int error = destination.Open()) return error;
    // The plain text passes through these buffers: wiped on every way out.
    uint8_t buffer[kChunkSize];
    std::vector<uint8_t> out;
    struct Wipe {
        uint8_t* b;
        std::vector<uint8_t>& o;
        ~Wipe()
        {
            SecureZero(b, kChunkSize);
            SecureZero(o.data(), o.size());
        }
    } wipe{buffer, out};
    try {
        for (;;) {
            std::memset(buffer, 0, sizeof buffer);
            const UINT got = source.Read(buffer, sizeof buffer);
            if (got == 0) break;
            SecureZero(out.data(), out.size());
            if (encrypt) {
                // The zeros after the data in the cleared buffer are the padding.
                size_t length = got;
                out = BlowfishEncryptChunk(m_context.get(), buffer, length);
                destination.GetFile().Write(out.data(), static_cast<UINT>(length));
            } else {
                out = BlowfishDecryptChunk(m_context.get(), buffer, got);
                destination.GetFile().Write(out.data(), got);
            }
            if (got < sizeof buffer) break;
        }
        source.Close();
    } catch (const CFileException& e) {
        return OsErrorOf(e);  // the destination's destructor drops the new version
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return destination.Commit();
}

int CAttachmentCrypter::CopyFromStoredFile(const CString& storedFileName)
{
    if (m_path.IsEmpty() || storedFileName.IsEmpty()) return 0;
    return zvos::CopyFileOverwrite(JoinPath(m_folder, storedFileName).Std(), m_path.Std()) ? 1 : 0;
}
