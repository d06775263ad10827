#include "sync/files/SyncResult.h"

const char* SyncResultText(int result)
{
    // The spellings are those users have always seen in the dialog.
    static const char* const kTexts[] = {"Success",
                                         "Failure",
                                         "Skiped",
                                         "Password missmatch",
                                         "Local file already in use",
                                         "Local file read error",
                                         "Local file write error",
                                         "Remote file already in use",
                                         "Remote file read error",
                                         "Remote file write error",
                                         "Unknown"};
    if (result < 0 || result > kSyncUnknown) return kTexts[kSyncUnknown];
    return kTexts[result];
}
