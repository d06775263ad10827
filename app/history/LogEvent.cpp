#include "app/history/LogEvent.h"

#include "app/services/ComputerName.h"

namespace {

// Asked of the system once: it names the computer from its start, and an
// import makes an event per record.
const CString& ThisComputerName()
{
    static const CString name = GetThisComputerName();
    return name;
}

}  // namespace

CLogEventParam::CLogEventParam(int isNew) : m_date(CDateValue::kNow), m_systemName(ThisComputerName()), m_isNew(isNew)
{}

CLogEvent::CLogEvent(std::shared_ptr<CLogEventParam> param)
    : m_param(param ? std::move(param) : std::make_shared<CLogEventParam>(0))
{}

CLogEvent::~CLogEvent() = default;
