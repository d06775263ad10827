#include "core/store/ReplacingFile.h"

#include <atomic>

#include "core/os/FileSystemOs.h"
#include "core/os/ProcessSeams.h"
#include "framework/CException.h"

namespace {
std::atomic<BeforeReplaceHook> g_beforeReplace{nullptr};

int OsErrorOf(const CFileException& e) { return e.m_lOsError > 0 ? static_cast<int>(e.m_lOsError) : -1; }

CString TempPathOf(const CString& targetPath) { return targetPath + ".tmp"; }
}  // namespace

BeforeReplaceHook SetBeforeReplaceHook(BeforeReplaceHook hook) { return g_beforeReplace.exchange(hook); }

CReplacingFile::CReplacingFile(const CString& targetPath) : m_target(targetPath), m_temp(TempPathOf(targetPath)) {}

bool CReplacingFile::RemoveLeftover(const CString& targetPath)
{
    const std::string temp = TempPathOf(targetPath).Std();
    return zvos::AccessExists(temp) && zvos::DeleteFileAt(temp);
}

CReplacingFile::~CReplacingFile() { Discard(); }

int CReplacingFile::Open()
{
    Discard();
    CFileException error;
    if (!m_file.Open(zvos::NativePath(m_temp.Std()).c_str(),
                     CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary, &error))
        return OsErrorOf(error);
    m_created = true;
    return 0;
}

int CReplacingFile::Commit()
{
    if (!m_created) return -1;
    try {
        m_file.Flush();
        m_file.Close();
    } catch (const CFileException& e) {
        Discard();
        return OsErrorOf(e);
    }
    const int result = ReplaceWith(m_temp, m_target);
    if (result != 0) {
        Discard();
        return result;
    }
    m_created = false;
    return 0;
}

int CReplacingFile::ReplaceWith(const CString& tempPath, const CString& targetPath)
{
    if (BeforeReplaceHook hook = g_beforeReplace.load()) {
        if (int result = hook(tempPath, targetPath)) return result;
    }
    return zvos::ReplaceFileAtomically(tempPath.Std(), targetPath.Std());
}

void CReplacingFile::Discard()
{
    m_file.Abort();
    if (m_created) {
        zvos::DeleteFileAt(m_temp.Std());
        m_created = false;
    }
}
