#pragma once
// The plug-in's registry scripts: the text form of the keys and values that
// registration writes and removal takes away, with named replacements
// ("%MODULE%"). This is the least of the script language the plug-in's own
// scripts use:
//
//   HKCR
//   {
//       NoRemove CLSID                      a key that removal leaves
//       {
//           ForceRemove {GUID} = s 'text'   removed with its subtree first
//           {
//               val Name = s 'text'         a string value
//           }
//       }
//   }
//
// A key or value name is a bare word or a quoted text ('' stands for one
// quote); "%NAME%" in any name or text is replaced ("%%" is one percent
// sign). Only string data (s) is known. Portable: parsing only; the registry
// side is RegScriptApply.h.
#include <map>
#include <string>
#include <vector>

#include "framework/CString.h"

enum class RegKeyFlag { kNormal, kNoRemove, kForceRemove };

struct RegScriptValue {
    CString name;
    CString text;
};

struct RegScriptKey {
    CString name;
    RegKeyFlag flag = RegKeyFlag::kNormal;
    bool hasDefault = false;
    CString defaultText;
    std::vector<RegScriptValue> values;
    std::vector<RegScriptKey> keys;
};

struct RegScriptRoot {
    CString root;  // HKCR, HKCU or HKLM
    std::vector<RegScriptKey> keys;
};

using RegReplacements = std::map<std::string, std::string>;

// Parses the script with the replacements. 0 and the roots in out; -1 for a
// script that breaks the grammar or names an unknown replacement, with what
// and where in error (out is then empty).
int ParseRegScript(const char* text, const RegReplacements& replacements, std::vector<RegScriptRoot>& out,
                   CString& error);
