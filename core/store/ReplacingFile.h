#pragma once
// CReplacingFile: writes a new version of a file beside the old one and puts
// it in place in one step only once all of it reached the disk. A crash, a
// full disk or a write error therefore leaves the old file as it was. The
// temporary file is the target's path with ".tmp" appended; it is removed
// when the new version is not committed. Tests fail the replacement through
// a seam (SetBeforeReplaceHook, core/os/ProcessSeams.h).
#include "framework/CFile.h"
#include "framework/CString.h"

class CReplacingFile {
public:
    explicit CReplacingFile(const CString& targetPath);
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Creates (or truncates) the temporary file for writing. 0 or the
    // system's error code.
    int Open();
    // The temporary file, for writing the new contents.
    CFile& GetFile() { return m_file; }
    // Flushes and closes the temporary file and puts it in place of the
    // target. 0, or the system's error code (-1 when there is none) with the
    // target untouched and the temporary file removed.
    int Commit();
    // Drops the new version: closes and removes the temporary file.
    void Discard();

    // Removes the temporary file that a save killed before its commit left
    // beside the target. The caller holds the lock that keeps other saves
    // of the target away meanwhile. True when there was one to remove.
    static bool RemoveLeftover(const CString& targetPath);

    // Puts a finished temporary file in place of the target, through the
    // same seam as Commit (for files written by other means, such as the
    // attachment copies of a merge). 0 or the error, the temporary file left.
    static int ReplaceWith(const CString& tempPath, const CString& targetPath);

    const CString& GetTargetPath() const { return m_target; }
    const CString& GetTempPath() const { return m_temp; }

private:
    CString m_target;
    CString m_temp;
    CFile m_file;
    bool m_created = false;
};
