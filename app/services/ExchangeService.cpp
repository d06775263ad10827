#include "app/services/ExchangeService.h"

namespace {
IExchangeService* g_service = nullptr;
}  // namespace

IExchangeService* GetExchangeService() { return g_service; }

IExchangeService* SetExchangeService(IExchangeService* service)
{
    IExchangeService* previous = g_service;
    g_service = service;
    return previous;
}
