// The event log and its file: reading the file's events, the exact bytes
// written for new ones, pruning by age under an injected clock, and every
// event of the run reaching the file when it happens.
#include <gtest/gtest.h>

#include "app/services/ComputerName.h"
#include "app/history/EventViewerRows.h"
#include "app/history/LogEvents.h"
#include "app/history/LogEventsSerializer.h"
#include "tests/app/XmlTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"
#include "tests/support/TimeZone.h"

namespace {

const char16_t kDecl[] = u"<?xml version='1.0' encoding='utf-16'?>\r\n";

std::u16string U16(const CString& s) { return ZvUtf16FromAnsi(s); }

// One hand-written "LogEvent" element.
std::u16string EventXml(const char16_t* name, const char16_t* date, const char16_t* description)
{
    std::u16string x = u"<LogEvent><Name>" + std::u16string(name) + u"</Name><Action>act</Action>";
    if (description) x += u"<Description>" + std::u16string(description) + u"</Description>";
    if (date) x += u"<Date>" + std::u16string(date) + u"</Date>";
    return x + u"</LogEvent>";
}

std::string LogFile(const std::u16string& events)
{
    return Utf16File(kDecl + (u"<LogEvents>" + events + u"</LogEvents>\r\n"));
}

// Descriptions of the events the file at path holds, in file order.
std::vector<std::string> DescriptionsInFile(const CString& path)
{
    CLogEvents log(path);
    log.Load();
    std::vector<std::string> out;
    for (const auto& e : log.GetEvents()) out.push_back(e->GetDescription().Std());
    return out;
}

class EventLogTest : public ::testing::Test {
protected:
    EventLogTest() : zone("UTC0"), clock("2026-03-20 12:00:00") {}
    CString PathOf(const char* name) const { return zvtest::WinPath(dir / name); }

    zvtest::ScratchDir dir{"eventlog"};
    zvtest::PinnedTimeZone zone;
    zvtest::FixedClock clock;
};

TEST_F(EventLogTest, FixtureFileLoadsEveryEventWithItsFields)
{
    dir.WriteFile("EventsLog.xml", zvtest::ReadFileBytes(zvtest::FixturePath("xml/EventsLog.xml")));
    CLogEvents log(PathOf("EventsLog.xml"));
    log.Load();
    const auto events = log.GetEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0]->GetName(), "Add record");
    EXPECT_EQ(events[0]->GetAction(), "Record added");
    EXPECT_EQ(events[0]->GetDescription(), "Bank");
    EXPECT_EQ(events[0]->GetDate().FormatTimestamp(), "2026-03-01 12:00:00 +0000");
    EXPECT_EQ(events[0]->GetUserName(), "Alice");
    EXPECT_EQ(events[0]->GetNewValue(), "Bank");
    EXPECT_EQ(events[0]->GetSystemName(), "DESK-1") << "the computer the event happened on";
    EXPECT_EQ(events[0]->IsNew(), 0);
    EXPECT_EQ(events[1]->GetAction(), "Log on Failed");
    EXPECT_EQ(events[1]->GetDescription(), "");
    EXPECT_EQ(events[1]->GetDate().FormatTimestamp(), "2026-03-02 08:30:15 +0000");
    EXPECT_EQ(events[2]->GetDescription(), "Mail & more");
    EXPECT_EQ(events[2]->GetSystemName(), GetThisComputerName()) << "no stored name: this computer's";
}

TEST_F(EventLogTest, NewEventIsWrittenAtOnceInTheFileLayout)
{
    clock.Set("2026-03-10 09:08:07");
    CLogEvents log(PathOf("EventsLog.xml"));
    EXPECT_FALSE(std::filesystem::exists(dir / "EventsLog.xml"));
    log.AddEvent("Add record", "Record added", "Alice", "Bank", "", "Bank");
    log.AddEvent("Log on", "Log on Failed", "Bob");
    const CString host = GetThisComputerName();
    const std::u16string system = host.IsEmpty() ? u"" : u"<SystemName>" + U16(host) + u"</SystemName>";
    const std::string expected =
        LogFile(u"<LogEvent><Name>Add record</Name><Action>Record added</Action><Description>Bank</Description>"
                u"<Date>2026-03-10 09:08:07 +0000</Date><UserName>Alice</UserName><NewValue>Bank</NewValue>" +
                system +
                u"</LogEvent>"
                u"<LogEvent><Name>Log on</Name><Action>Log on Failed</Action>"
                u"<Date>2026-03-10 09:08:07 +0000</Date><UserName>Bob</UserName>" +
                system + u"</LogEvent>");
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "EventsLog.xml"), expected);
    EXPECT_FALSE(std::filesystem::exists(dir / "EventsLog.xml.tmp"));
    log.SaveAll();
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "EventsLog.xml"), expected) << "saving again adds nothing twice";
}

// Each write puts the whole file in place; the events already in it keep
// their bytes exactly, through reading, adding, pruning and clearing.
TEST_F(EventLogTest, EveryWriteGivesTheWholeFileInItsExactLayout)
{
    clock.Set("2026-03-10 09:08:07");
    const std::string fixture = zvtest::ReadFileBytes(zvtest::FixturePath("xml/EventsLog.xml"));
    dir.WriteFile("EventsLog.xml", fixture);
    const std::string closing = Utf16LeBytes(u"</LogEvents>\r\n");
    ASSERT_EQ(fixture.substr(fixture.size() - closing.size()), closing);
    const std::string stored = fixture.substr(0, fixture.size() - closing.size());
    const CString host = GetThisComputerName();
    const std::u16string system = host.IsEmpty() ? u"" : u"<SystemName>" + U16(host) + u"</SystemName>";
    const char16_t first[] = u"2026-03-10 09:08:07 +0000", later[] = u"2026-03-12 18:00:00 +0000";
    auto event = [&](const char16_t* description, const char16_t* date) {
        return Utf16LeBytes(u"<LogEvent><Name>Lock application</Name><Action>Application locked</Action>"
                            u"<Description>" +
                            std::u16string(description) +
                            u"</Description>"
                            u"<Date>" +
                            std::u16string(date) + u"</Date><UserName>A</UserName>" + system + u"</LogEvent>");
    };
    const auto file = [&]() { return zvtest::ReadFileBytes(dir / "EventsLog.xml"); };

    CLogEvents log(PathOf("EventsLog.xml"));
    log.Load();
    log.AddEvent("Lock application", "Application locked", "A", "one");
    EXPECT_EQ(file(), stored + event(u"one", first) + closing) << "after reading the file";
    log.AddEvent("Lock application", "Application locked", "A", "two");
    EXPECT_EQ(file(), stored + event(u"one", first) + event(u"two", first) + closing);
    clock.Set("2026-03-12 18:00:00");  // only the first stored event has expired
    log.SaveAll();
    const std::string kept = Utf16LeBytes(u"<LogEvent><Name>Log on</Name>");
    const size_t second = stored.find(kept);
    ASSERT_NE(second, std::string::npos);
    const std::string opening = Utf16File(std::u16string(kDecl) + u"<LogEvents>");
    const std::string pruned = opening + stored.substr(second);
    EXPECT_EQ(file(), pruned + event(u"one", first) + event(u"two", first) + closing) << "after pruning";
    log.AddEvent("Lock application", "Application locked", "A", "three");
    EXPECT_EQ(file(), pruned + event(u"one", first) + event(u"two", first) + event(u"three", later) + closing);
    log.Clear();
    log.AddEvent("Lock application", "Application locked", "A", "four");
    EXPECT_EQ(file(), opening + event(u"four", later) + closing) << "after clearing";
}

// Markup characters, line ends and letters beyond ASCII (through the code
// page) in an event's texts are written as the document writes a text
// element, and read back whole.
TEST_F(EventLogTest, TextsWithMarkupAndAccentsAreWrittenAsTheDocumentWritesThem)
{
    const CString path = PathOf("EventsLog.xml");
    auto param = std::make_shared<CLogEventParam>(1);
    param->SetName("Add record").SetAction("Record added").SetSystemName("");
    param->SetDescription("a & b < c > d\r\ne \"q\"\t'x'").SetNewValue("Caf\xE9");
    {
        CLogEvents log(path);
        log.Add(std::make_shared<CLogEvent>(param));
    }
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "EventsLog.xml"),
              LogFile(u"<LogEvent><Name>Add record</Name><Action>Record added</Action>"
                      u"<Description>a &amp; b &lt; c &gt; d&#13;\ne \"q\"\t'x'</Description>"
                      u"<Date>2026-03-20 12:00:00 +0000</Date><NewValue>" +
                      U16("Caf\xE9") + u"</NewValue></LogEvent>"));
    CLogEvents again(path);
    again.Load();
    ASSERT_EQ(again.GetCount(), 1);
    EXPECT_EQ(again.GetEvents()[0]->GetDescription(), "a & b < c > d\r\ne \"q\"\t'x'");
    EXPECT_EQ(again.GetEvents()[0]->GetNewValue(), XmlText(U16("Caf\xE9"))) << "as the code page has it";
}

TEST_F(EventLogTest, FailedLogOnFollowedByQuitIsInTheFile)
{
    const CString path = PathOf("EventsLog.xml");
    {
        auto log = std::make_shared<CLogEvents>(path);
        auto previous = CLogEvents::ReplaceInstance(log);
        log.reset();
        // The log-on dialog's failure, then the program ends: no main view,
        // so nothing else ever saves the log.
        CLogEvents::GetInstance()->AddEvent("Log on", "Log on Failed", "Bob");
        CLogEvents::ReplaceInstance(previous);
    }
    CLogEvents next(path);
    next.Load();
    const auto events = next.GetEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->GetName(), "Log on");
    EXPECT_EQ(events[0]->GetAction(), "Log on Failed");
    EXPECT_EQ(events[0]->GetUserName(), "Bob");
}

TEST_F(EventLogTest, EventsAfterTheViewsSaveStillReachTheFile)
{
    const CString path = PathOf("EventsLog.xml");
    CLogEvents log(path);
    log.AddEvent("Add record", "Record added", "A", "one");
    log.SaveAll();
    log.AddEvent("Lock application", "Application locked", "A", "two");
    EXPECT_EQ(DescriptionsInFile(path), (std::vector<std::string>{"one", "two"}));
}

TEST_F(EventLogTest, AgeRuleUnderAnInjectedClock)
{
    // The clock stands at 2026-03-20 12:00:00 (UTC, so no daylight saving).
    struct Case {
        const char16_t* date;
        bool kept;
    } cases[] = {
        {u"2026-03-09 13:00:00 +0000", true},   // 10 days 23 hours
        {u"2026-03-09 12:00:01 +0000", true},   // one second short of 11 days
        {u"2026-03-09 12:00:00 +0000", false},  // 11 days
        {u"2026-02-01 00:00:00 +0000", false},
        {u"2026-03-25 00:00:00 +0000", true},   // in the future
        {u"1899-12-31 00:00:00 +0000", false},  // before 1900: the calendar origin
        {u"garbage", false},
    };
    std::u16string events;
    std::vector<std::string> expected;
    int i = 0;
    for (const Case& c : cases) {
        const std::u16string d = u"e" + std::u16string(1, (char16_t)(u'0' + i++));
        events += EventXml(u"Add record", c.date, d.c_str());
        if (c.kept) expected.push_back(std::string(d.begin(), d.end()));
    }
    events += EventXml(u"Log on", nullptr, u"nodate");  // read back with the time of reading
    expected.push_back("nodate");
    dir.WriteFile("EventsLog.xml", LogFile(events));
    const CString path = PathOf("EventsLog.xml");
    {
        CLogEvents log(path);
        log.Load();
        ASSERT_EQ(log.GetCount(), 8);
        log.SaveAll();
        EXPECT_EQ(log.GetCount(), 8) << "pruned events stay in memory";
    }
    EXPECT_EQ(DescriptionsInFile(path), expected);
}

TEST_F(EventLogTest, PruningRemovesTheExpiredEventsOwnElementNotAnotherOfTheSameName)
{
    // The file is not in time order: the recent "Add record" comes first.
    dir.WriteFile("EventsLog.xml", LogFile(EventXml(u"Add record", u"2026-03-19 10:00:00 +0000", u"recent") +
                                           EventXml(u"Add record", u"2026-01-01 10:00:00 +0000", u"old") +
                                           EventXml(u"Add record", u"2026-03-18 10:00:00 +0000", u"later")));
    const CString path = PathOf("EventsLog.xml");
    {
        CLogEvents log(path);
        log.Load();
        log.SaveAll();
    }
    EXPECT_EQ(DescriptionsInFile(path), (std::vector<std::string>{"recent", "later"}));
}

TEST_F(EventLogTest, EventRecordedBeforeLoadComesFirstAndIsNotReadTwice)
{
    dir.WriteFile("EventsLog.xml", LogFile(EventXml(u"Add record", u"2026-03-19 10:00:00 +0000", u"stored")));
    const CString path = PathOf("EventsLog.xml");
    CLogEvents log(path);
    log.AddEvent("Log on", "Log on succeeded", "A", "logon");
    log.Load();
    const auto events = log.GetEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]->GetDescription(), "logon");
    EXPECT_EQ(events[0]->IsNew(), 1);
    EXPECT_EQ(events[1]->GetDescription(), "stored");
    log.SaveAll();
    EXPECT_EQ(DescriptionsInFile(path), (std::vector<std::string>{"stored", "logon"})) << "the file keeps time order";
}

TEST_F(EventLogTest, ClearEmptiesMemoryAndFileAndLaterEventsAreKept)
{
    dir.WriteFile("EventsLog.xml", LogFile(EventXml(u"Add record", u"2026-03-19 10:00:00 +0000", u"stored")));
    const CString path = PathOf("EventsLog.xml");
    {
        CLogEvents log(path);
        log.Load();
        log.AddEvent("Add record", "Record added", "A", "before");
        log.Clear();
        EXPECT_EQ(log.GetCount(), 0);
        EXPECT_EQ(zvtest::ReadFileBytes(dir / "EventsLog.xml"), Utf16File(std::u16string(kDecl) + u"<LogEvents/>\r\n"));
        log.AddEvent("Add record", "Record added", "A", "after");
        log.SaveAll();
    }
    EXPECT_EQ(DescriptionsInFile(path), (std::vector<std::string>{"after"}));
}

TEST_F(EventLogTest, EmptyTextsGetNoElementAndNullEventsAreDropped)
{
    const CString path = PathOf("EventsLog.xml");
    CLogEvents log(path);
    log.Add(nullptr);
    EXPECT_EQ(log.GetCount(), 0);
    auto param = std::make_shared<CLogEventParam>(1);
    param->SetName("Lock application").SetAction("Application locked").SetSystemName("");
    log.Add(std::make_shared<CLogEvent>(param));
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "EventsLog.xml"),
              LogFile(u"<LogEvent><Name>Lock application</Name><Action>Application locked</Action>"
                      u"<Date>2026-03-20 12:00:00 +0000</Date></LogEvent>"));
    CLogEvents again(path);
    again.Load();
    ASSERT_EQ(again.GetCount(), 1);
    EXPECT_EQ(again.GetEvents()[0]->GetDescription(), "");
}

TEST_F(EventLogTest, UnreadableOrUnwritableFileKeepsTheLogInMemory)
{
    dir.WriteFile("EventsLog.xml", "not xml at all");
    {
        CLogEvents log(PathOf("EventsLog.xml"));
        log.Load();
        EXPECT_EQ(log.GetCount(), 0);
    }
    CLogEvents nowhere(zvtest::WinPath(dir / "missing" / "EventsLog.xml"));
    nowhere.AddEvent("Log on", "Log on Failed", "Bob");
    nowhere.SaveAll();
    EXPECT_EQ(nowhere.GetCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace

namespace {

TEST_F(EventLogTest, BatchWritesItsEventsOnceAtTheEnd)
{
    const CString path = PathOf("EventsLog.xml");
    auto log = std::make_shared<CLogEvents>(path);
    auto previous = CLogEvents::ReplaceInstance(log);
    log->AddEvent("Log on", "Log on succeeded", "A", "before");
    const std::string afterFirst = zvtest::ReadFileBytes(dir / "EventsLog.xml");
    {
        CLogEventsBatch outer;
        {
            CLogEventsBatch inner;
            for (int i = 0; i < 3; ++i) log->AddEvent("Add record", "Record added", "A", "imported");
        }
        EXPECT_EQ(zvtest::ReadFileBytes(dir / "EventsLog.xml"), afterFirst) << "nothing written inside the batch";
    }
    EXPECT_EQ(DescriptionsInFile(path), (std::vector<std::string>{"before", "imported", "imported", "imported"}));
    CLogEvents::ReplaceInstance(previous);
}

TEST_F(EventLogTest, EventsOfABatchLeftOpenReachTheFileWhenTheLogGoes)
{
    const CString path = PathOf("EventsLog.xml");
    {
        CLogEvents log(path);
        log.BeginBatch();
        log.AddEvent("Log on", "Log on Failed", "Bob", "pending");
    }
    EXPECT_EQ(DescriptionsInFile(path), std::vector<std::string>{"pending"});
}

}  // namespace

namespace {

TEST_F(EventLogTest, TheViewerListsTheLatestEventFirstWithSortableDates)
{
    dir.WriteFile("EventsLog.xml", LogFile(EventXml(u"Add record", u"2026-03-19 10:00:00 +0000", u"stored")));
    CLogEvents log(PathOf("EventsLog.xml"));
    log.AddEvent("Log on", "Log on succeeded", "Alice", "logon");
    log.Load();
    clock.Set("2026-03-20 12:30:45");
    log.AddEvent("Edit record ", "Record edited", "Alice", "Bank");
    const std::vector<EventViewerRow> rows = EventViewerRows(log);
    ASSERT_EQ(3u, rows.size());
    // Latest first; the file's events below this run's later ones, the
    // start-up's event before the load at the bottom.
    EXPECT_EQ("Bank", std::string(rows[0][2]));
    EXPECT_EQ("stored", std::string(rows[1][2]));
    EXPECT_EQ("logon", std::string(rows[2][2]));
    const EventViewerRow& row = rows[0];
    EXPECT_EQ("2026-03-20 12:30:45 +0000", std::string(row[0]));
    EXPECT_EQ("Edit record ", std::string(row[1]));
    EXPECT_EQ("Record edited", std::string(row[3]));
    EXPECT_EQ("Alice", std::string(row[4]));
    EXPECT_EQ(std::string(GetThisComputerName()), std::string(row[5]));
    EXPECT_STREQ("Date,166;Event,90;Description,90;Action,90;User,90;Computer,90", kEventViewerHeadings);
    EXPECT_TRUE(EventViewerRows(CLogEvents("")).empty());
}

}  // namespace
