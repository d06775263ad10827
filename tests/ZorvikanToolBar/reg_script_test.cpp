// The registry scripts' parser: the plug-in's own scripts read as the tables
// of what registration writes, and scripts that break the grammar refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZorvikanToolBar/com/RegScript.h"
#include "tests/support/ScratchDir.h"

namespace {

const RegReplacements kReplacements = {{"MODULE", "C:\\Plug In\\ZorvikanToolBar.dll"},
                                       {"Module_Raw", "C:\\Plug In\\ZorvikanToolBar.dll"},
                                       {"APPID", "{FF9EC766-4EB4-45BC-BCE7-509E01F90E24}"}};

std::string ScriptText(const char* name)
{
    return zvtest::ReadFileBytes(zvtest::FixturePath("../../ZorvikanToolBar/res/") / name);
}

const RegScriptKey* Child(const std::vector<RegScriptKey>& keys, const char* name)
{
    for (const RegScriptKey& k : keys)
        if (k.name == name) return &k;
    return nullptr;
}

TEST(RegScript, ClassScriptWritesTheClassKeysWithTheModulePath)
{
    std::vector<RegScriptRoot> roots;
    CString error;
    ASSERT_EQ(0, ParseRegScript(ScriptText("ZorvikBand.rgs").c_str(), kReplacements, roots, error)) << error;
    ASSERT_EQ(1u, roots.size());
    EXPECT_EQ(CString("HKCR"), roots[0].root);
    const auto& top = roots[0].keys;
    ASSERT_EQ(3u, top.size());

    const RegScriptKey* progId = Child(top, "ZorvikanToolBar.ZorvikBand.1");
    ASSERT_TRUE(progId);
    EXPECT_EQ(RegKeyFlag::kNormal, progId->flag);
    EXPECT_EQ(CString("ZorvikBand Class"), progId->defaultText);
    ASSERT_TRUE(Child(progId->keys, "CLSID"));
    EXPECT_EQ(CString("{6490AEFB-281C-405C-BE19-F59AA38DF56A}"), Child(progId->keys, "CLSID")->defaultText);

    const RegScriptKey* independent = Child(top, "ZorvikanToolBar.ZorvikBand");
    ASSERT_TRUE(independent);
    ASSERT_TRUE(Child(independent->keys, "CurVer"));
    EXPECT_EQ(CString("ZorvikanToolBar.ZorvikBand.1"), Child(independent->keys, "CurVer")->defaultText);

    const RegScriptKey* clsidRoot = Child(top, "CLSID");
    ASSERT_TRUE(clsidRoot);
    EXPECT_EQ(RegKeyFlag::kNoRemove, clsidRoot->flag);
    EXPECT_FALSE(clsidRoot->hasDefault);
    const RegScriptKey* clsid = Child(clsidRoot->keys, "{6490AEFB-281C-405C-BE19-F59AA38DF56A}");
    ASSERT_TRUE(clsid);
    EXPECT_EQ(RegKeyFlag::kForceRemove, clsid->flag);
    EXPECT_EQ(CString("Zorvikan ToolBar"), clsid->defaultText);

    struct Sub {
        const char* name;
        bool hasDefault;
        const char* text;
        RegKeyFlag flag;
    };
    const Sub subs[] = {
        {"ProgID", true, "ZorvikanToolBar.ZorvikBand.1", RegKeyFlag::kNormal},
        {"VersionIndependentProgID", true, "ZorvikanToolBar.ZorvikBand", RegKeyFlag::kNormal},
        {"Programmable", false, "", RegKeyFlag::kForceRemove},
        {"InprocServer32", true, "C:\\Plug In\\ZorvikanToolBar.dll", RegKeyFlag::kNormal},
        {"TypeLib", true, "{58748D7A-BB40-4A0F-9952-920C44CFFD56}", RegKeyFlag::kNormal},
    };
    ASSERT_EQ(sizeof(subs) / sizeof(subs[0]), clsid->keys.size());
    for (size_t i = 0; i < clsid->keys.size(); ++i) {
        SCOPED_TRACE(subs[i].name);
        EXPECT_EQ(CString(subs[i].name), clsid->keys[i].name);
        EXPECT_EQ(subs[i].hasDefault, clsid->keys[i].hasDefault);
        EXPECT_EQ(CString(subs[i].text), clsid->keys[i].defaultText);
        EXPECT_EQ(subs[i].flag, clsid->keys[i].flag);
    }
    const RegScriptKey* server = Child(clsid->keys, "InprocServer32");
    ASSERT_EQ(1u, server->values.size());
    EXPECT_EQ(CString("ThreadingModel"), server->values[0].name);
    EXPECT_EQ(CString("Apartment"), server->values[0].text);
}

TEST(RegScript, AppIdScriptNamesTheServerByItsAppId)
{
    std::vector<RegScriptRoot> roots;
    CString error;
    ASSERT_EQ(0, ParseRegScript(ScriptText("ZorvikanToolBar.rgs").c_str(), kReplacements, roots, error)) << error;
    ASSERT_EQ(1u, roots.size());
    const RegScriptKey* appIdRoot = Child(roots[0].keys, "AppID");
    ASSERT_TRUE(appIdRoot);
    EXPECT_EQ(RegKeyFlag::kNoRemove, appIdRoot->flag);
    const RegScriptKey* byId = Child(appIdRoot->keys, "{FF9EC766-4EB4-45BC-BCE7-509E01F90E24}");
    ASSERT_TRUE(byId);
    EXPECT_EQ(CString("ZorvikanToolBar"), byId->defaultText);
    const RegScriptKey* byName = Child(appIdRoot->keys, "ZorvikanToolBar.DLL");
    ASSERT_TRUE(byName);
    EXPECT_FALSE(byName->hasDefault);
    ASSERT_EQ(1u, byName->values.size());
    EXPECT_EQ(CString("AppID"), byName->values[0].name);
    EXPECT_EQ(CString("{FF9EC766-4EB4-45BC-BCE7-509E01F90E24}"), byName->values[0].text);
}

TEST(RegScript, QuotesSpacesAndPercentSigns)
{
    std::vector<RegScriptRoot> roots;
    CString error;
    const char* text = "HKCU { 'a key' = s 'it''s 100%% %APPID%' { val 'v n' = s '' } plain }";
    ASSERT_EQ(0, ParseRegScript(text, kReplacements, roots, error)) << error;
    ASSERT_EQ(2u, roots[0].keys.size());
    const RegScriptKey& k = roots[0].keys[0];
    EXPECT_EQ(CString("a key"), k.name);
    EXPECT_EQ(CString("it's 100% {FF9EC766-4EB4-45BC-BCE7-509E01F90E24}"), k.defaultText);
    ASSERT_EQ(1u, k.values.size());
    EXPECT_EQ(CString("v n"), k.values[0].name);
    EXPECT_EQ(CString(""), k.values[0].text);
    EXPECT_EQ(CString("plain"), roots[0].keys[1].name);
}

TEST(RegScript, BrokenScriptsAreRefusedWithNothingParsed)
{
    const char* broken[] = {
        "HKCR { a = s 'x' ",                // no closing brace
        "HKXX { a }",                       // unknown root
        "HKCR { a = d '1' }",               // data other than strings
        "HKCR { a = s 'unterminated }",     // open quote
        "HKCR { a = s '%NOPE%' }",          // unknown replacement
        "HKCR { a = s '%MODULE }",          // replacement without its end
        "HKCR { val v = s 'x' }",           // a value outside a key
        "HKCR { Delete a }",                // not supported
        "HKCR { {6490AEFB-281C = s 'x' }",  // brace name without its end
        "HKCR { = s 'x' }",                 // no key name
    };
    for (const char* text : broken) {
        SCOPED_TRACE(text);
        std::vector<RegScriptRoot> roots(1);
        CString error;
        EXPECT_EQ(-1, ParseRegScript(text, kReplacements, roots, error));
        EXPECT_TRUE(roots.empty());
        EXPECT_FALSE(error.IsEmpty());
    }
}

}  // namespace
