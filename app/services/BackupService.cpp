// The holder of the installed backup service.
#include "app/services/BackupService.h"

namespace {

IBackupService* g_backupService = nullptr;

}  // namespace

IBackupService* GetBackupService() { return g_backupService; }

IBackupService* SetBackupService(IBackupService* service)
{
    IBackupService* previous = g_backupService;
    g_backupService = service;
    return previous;
}
