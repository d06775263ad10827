#pragma once
// A keyed Blowfish context that can be handed around safely: whoever packs or
// unpacks under it holds a reference, so replacing the master key on one
// thread never frees or changes a key another thread is still using. The
// schedule is wiped when the last holder lets go (tests watch that through
// SetKeyWipeObserver, core/os/ProcessSeams.h).
#include <cstdint>
#include <memory>

#include "core/crypto/Blowfish.h"
#include "core/crypto/SecretString.h"

using BlowfishKeyPtr = std::shared_ptr<const BlowfishContext>;

// Keys a new context with the bytes; null when it cannot be allocated. A
// length of 0 keys the single zero byte, as BlowfishInit does.
BlowfishKeyPtr MakeBlowfishKey(const uint8_t* key, int32_t keyLength);
// Keyed with the text's bytes (its length as the key length).
BlowfishKeyPtr MakeBlowfishKey(const CSecretString& text);
