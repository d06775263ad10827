#include "core/crypto/BlowfishKey.h"

#include <atomic>
#include <new>

#include "core/crypto/SecureZero.h"
#include "core/os/ProcessSeams.h"

namespace {

std::atomic<KeyWipeObserver> g_wipeObserver{nullptr};

struct WipingDelete {
    void operator()(const BlowfishContext* ctx) const
    {
        BlowfishContext* p = const_cast<BlowfishContext*>(ctx);
        SecureZero(p, sizeof(*p));
        if (KeyWipeObserver observer = g_wipeObserver.load()) observer(p, sizeof(*p));
        delete p;
    }
};

}  // namespace

BlowfishKeyPtr MakeBlowfishKey(const uint8_t* key, int32_t keyLength)
{
    BlowfishContext* ctx = new (std::nothrow) BlowfishContext;
    if (!ctx) return nullptr;
    BlowfishInit(ctx, key, keyLength);
    try {
        return BlowfishKeyPtr(ctx, WipingDelete());
    } catch (const std::bad_alloc&) {
        WipingDelete()(ctx);
        return nullptr;
    }
}

BlowfishKeyPtr MakeBlowfishKey(const CSecretString& text)
{
    return MakeBlowfishKey(reinterpret_cast<const uint8_t*>(text.c_str()), text.GetLength());
}

void SetKeyWipeObserver(KeyWipeObserver observer) { g_wipeObserver.store(observer); }
