#include "app/history/LogEvent.h"

#include "app/services/ComputerName.h"

CLogEventParam::CLogEventParam(int isNew)
    : m_date(CDateValue::kNow), m_systemName(GetThisComputerName()), m_isNew(isNew)
{}

CLogEvent::CLogEvent(std::shared_ptr<CLogEventParam> param)
    : m_param(param ? std::move(param) : std::make_shared<CLogEventParam>(0))
{}

CLogEvent::~CLogEvent() = default;
