#include "mainwindow/records/ViewRecordChangeSteps.h"

#include "app/pluginlink/PluginLink.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/os/ChangeNotify.h"
#include "core/store/DatabaseObj.h"

int CViewRecordChangeSteps::SaveDatabase() { return m_database.Save(); }

void CViewRecordChangeSteps::CallRecordHook(RecordHook hook, CRecord* record)
{
    if (!m_app) return;
    switch (hook) {
    case RecordHook::kAdded: m_app->OnRecordAdded(record); break;
    case RecordHook::kEdited: m_app->OnRecordEdited(record); break;
    case RecordHook::kDeleted: m_app->OnRecordDeleted(record); break;
    case RecordHook::kNone: break;
    }
}

void CViewRecordChangeSteps::PostNotice(const RecordChange& change)
{
    PostDatabaseNotify(m_app ? m_app->GetCurrentUser() : nullptr, change.operation, change.itemClass, change.itemId);
}

void CViewRecordChangeSteps::SignalPlugin() { m_link.SignalDatabaseChange(); }
