#pragma once
// One event of the event log: what happened, to what, when, by whom and on
// which computer.
#include <memory>

#include "app/xml/XmlDocument.h"
#include "core/values/DateValue.h"
#include "framework/CString.h"

// The fields of one event. Producers make it with isNew 1; the log file's
// reader with 0.
class CLogEventParam {
public:
    // Date: now (local time); SystemName: this computer's name.
    explicit CLogEventParam(int isNew);

    CLogEventParam& SetName(const CString& text)
    {
        m_name = text;
        return *this;
    }
    CLogEventParam& SetDescription(const CString& text)
    {
        m_description = text;
        return *this;
    }
    CLogEventParam& SetAction(const CString& text)
    {
        m_action = text;
        return *this;
    }
    CLogEventParam& SetDate(const CDateValue& date)
    {
        m_date = date;
        return *this;
    }
    CLogEventParam& SetUserName(const CString& text)
    {
        m_userName = text;
        return *this;
    }
    CLogEventParam& SetUserID(const CString& text)
    {
        m_userID = text;
        return *this;
    }
    CLogEventParam& SetSystemName(const CString& text)
    {
        m_systemName = text;
        return *this;
    }
    CLogEventParam& SetOldValue(const CString& text)
    {
        m_oldValue = text;
        return *this;
    }
    CLogEventParam& SetNewValue(const CString& text)
    {
        m_newValue = text;
        return *this;
    }

    CString m_name;
    CString m_description;
    CString m_action;
    CDateValue m_date;
    CString m_userName;
    CString m_userID;
    CString m_systemName;
    CString m_oldValue;
    CString m_newValue;
    int m_isNew;
};

class CLogEvent {
public:
    explicit CLogEvent(std::shared_ptr<CLogEventParam> param);
    virtual ~CLogEvent();

    CString GetName() const { return m_param->m_name; }
    CString GetDescription() const { return m_param->m_description; }
    CString GetAction() const { return m_param->m_action; }
    CDateValue GetDate() const { return m_param->m_date; }
    CString GetUserName() const { return m_param->m_userName; }
    CString GetUserID() const { return m_param->m_userID; }
    CString GetSystemName() const { return m_param->m_systemName; }
    CString GetOldValue() const { return m_param->m_oldValue; }
    CString GetNewValue() const { return m_param->m_newValue; }
    // 1: made in this run; 0: read from the log file.
    int IsNew() const { return m_param->m_isNew; }

    // The element an event read from the log file came from. Pruning
    // removes exactly this one.
    CXmlNodePtr GetElement() const { return m_element.lock(); }
    void SetElement(const CXmlNodePtr& element) { m_element = element; }
    // An event of the run is in the file's bytes.
    bool IsWritten() const { return m_written; }
    void SetWritten() { m_written = true; }

private:
    std::shared_ptr<CLogEventParam> m_param;
    std::weak_ptr<CXmlNode> m_element;
    bool m_written = false;
};
