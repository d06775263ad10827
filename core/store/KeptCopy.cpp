#include "core/store/KeptCopy.h"

#include "core/os/FileSystemOs.h"
#include "core/values/DateValue.h"

namespace {

// Far more copies than anyone keeps; past it something else is wrong.
constexpr int kMaxCopies = 999;

}  // namespace

int KeepCopyBeside(const CString& filePath, const CString& stem, const CString& ext, const std::string& bytes,
                   CString& keptPath)
{
    for (int n = 1; n <= kMaxCopies; ++n) {
        CString name = filePath + stem;
        if (n > 1) name.AppendFormat("-%d", n);
        name += ext;
        const std::string path = name.Std();
        if (!zvos::AccessExists(path)) {
            const int error = zvos::WriteNewFile(path, bytes);
            if (error == 0) {
                keptPath = name;
                return 0;
            }
            // Someone took the name meanwhile: try the next one.
            if (!zvos::AccessExists(path)) return error;
        }
        std::string existing;
        if (zvos::ReadWholeFile(path, existing) == 0 && existing == bytes) {
            keptPath = name;
            return 0;
        }
    }
    return -1;
}

CString DamagedCopyStem()
{
    const CDateValue today(CDateValue::kNow);
    CString stem;
    stem.Format(".damaged-%.4u-%.2u-%.2u", today.GetYear(), today.GetMonth(), today.GetDay());
    return stem;
}

CString UpgradeCopyStem(int formatVersion)
{
    CString stem;
    stem.Format(".v%d", formatVersion);
    return stem;
}
