#pragma once
// CViewRecordChangeSteps: the record-change steps of the main window over
// what exists: the view's database object (CDatabaseObj::Save), the
// application's record hooks (event log, then smart lists), the change
// notices of core/os/ChangeNotify.h for the application's current user, and
// the view's link with the browser plug-in. Windows build only.
#include "mainwindow/records/RecordChangeSequence.h"

class CDatabaseObj;
class CPluginLink;
class CZorvikanDesktopApp;

class CViewRecordChangeSteps : public IRecordChangeSteps {
public:
    // app: the application object; without one (tests) there are no record
    // hooks and no current user, so no notices.
    CViewRecordChangeSteps(CDatabaseObj& database, CPluginLink& link, CZorvikanDesktopApp* app)
        : m_database(database), m_link(link), m_app(app)
    {}

    int SaveDatabase() override;
    void CallRecordHook(RecordHook hook, CRecord* record) override;
    void PostNotice(const RecordChange& change) override;
    void SignalPlugin() override;

private:
    CDatabaseObj& m_database;
    CPluginLink& m_link;
    CZorvikanDesktopApp* m_app;
};
