#pragma once
// Message-map macros. In a class:
//     DECLARE_MESSAGE_MAP()
// and in its source file:
//     BEGIN_MESSAGE_MAP(CMyView, CView)
//         ON_WM_CREATE()
//         ON_COMMAND(ID_EDIT_ITEM, &CMyView::OnEditItem)
//     END_MESSAGE_MAP()
// Handlers are named by member pointer; a handler of the wrong type does not
// compile.

#include <type_traits>

// The class that declares a member function.
template <class T> struct ZvMemberOf;
template <class C, class R, class... A> struct ZvMemberOf<R (C::*)(A...)> {
    using type = C;
};
template <class C, class R, class... A> struct ZvMemberOf<R (C::*)(A...) const> {
    using type = C;
};

template <auto F> inline typename ZvMemberOf<decltype(F)>::type& ZvTarget(CCmdTarget* t)
{
    return *static_cast<typename ZvMemberOf<decltype(F)>::type*>(t);
}

// Thunks that do not need window types.
namespace ZvMsg {
template <auto F> BOOL Command(CCmdTarget* t, ZvMsgCall&)
{
    (ZvTarget<F>(t).*F)();
    return TRUE;
}
template <auto F> BOOL CommandEx(CCmdTarget* t, ZvMsgCall& c)
{
    return (ZvTarget<F>(t).*F)(static_cast<UINT>(c.wParam)) ? TRUE : FALSE;
}
template <auto F> BOOL CommandRange(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(static_cast<UINT>(c.wParam));
    return TRUE;
}
template <auto F> BOOL UpdateUI(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(static_cast<CCmdUI*>(c.extra));
    return TRUE;
}
template <auto F> BOOL UpdateUIRange(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(static_cast<CCmdUI*>(c.extra));
    return TRUE;
}
template <auto F> BOOL Notify(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(reinterpret_cast<NMHDR*>(c.lParam), &c.result);
    return TRUE;
}
template <auto F> BOOL NotifyRange(CCmdTarget* t, ZvMsgCall& c)
{
    auto* nm = reinterpret_cast<NMHDR*>(c.lParam);
    (ZvTarget<F>(t).*F)(static_cast<UINT>(nm->idFrom), nm, &c.result);
    return TRUE;
}
template <auto F> BOOL NotifyEx(CCmdTarget* t, ZvMsgCall& c)
{
    return (ZvTarget<F>(t).*F)(reinterpret_cast<NMHDR*>(c.lParam), &c.result) ? TRUE : FALSE;
}
template <auto F> BOOL Message(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)(c.wParam, c.lParam);
    return TRUE;
}
template <auto F> BOOL ControlReflectEx(CCmdTarget* t, ZvMsgCall&) { return (ZvTarget<F>(t).*F)() ? TRUE : FALSE; }
}  // namespace ZvMsg

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const ZvMsgMap* GetThisMessageMap();                                                                        \
                                                                                                                       \
public:                                                                                                                \
    const ZvMsgMap* GetMessageMap() const override;                                                                    \
                                                                                                                       \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    const ZvMsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }                                    \
    const ZvMsgMap* theClass::GetThisMessageMap()                                                                      \
    {                                                                                                                  \
        typedef theClass ThisClass;                                                                                    \
        typedef baseClass TheBaseClass;                                                                                \
        static const ZvMsgMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                                                              \
    {                                                                                                                  \
        0, 0, 0, 0, nullptr, nullptr                                                                                   \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const ZvMsgMap map = {&TheBaseClass::GetThisMessageMap, entries};                                           \
    (void)sizeof(ThisClass*);                                                                                          \
    return &map;                                                                                                       \
    }

// Commands and their update handlers.
#define ON_COMMAND(id, fn) {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, &ZvMsg::Command<fn>},
#define ON_COMMAND_EX(id, fn) {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, &ZvMsg::CommandEx<fn>},
#define ON_COMMAND_RANGE(first, last, fn)                                                                              \
    {WM_COMMAND, CN_COMMAND, (UINT)(first), (UINT)(last), nullptr, &ZvMsg::CommandRange<fn>},
#define ON_UPDATE_COMMAND_UI(id, fn)                                                                                   \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), nullptr, &ZvMsg::UpdateUI<fn>},
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn)                                                                    \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(first), (UINT)(last), nullptr, &ZvMsg::UpdateUIRange<fn>},

// Control notifications through WM_COMMAND (handler: void ()).
#define ON_CONTROL(code, id, fn) {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), nullptr, &ZvMsg::Command<fn>},
#define ON_CONTROL_RANGE(code, first, last, fn)                                                                        \
    {WM_COMMAND, (UINT)(code), (UINT)(first), (UINT)(last), nullptr, &ZvMsg::CommandRange<fn>},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)

// WM_NOTIFY from a child (handler: void (NMHDR*, LRESULT*)).
#define ON_NOTIFY(code, id, fn) {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), nullptr, &ZvMsg::Notify<fn>},
#define ON_NOTIFY_RANGE(code, first, last, fn)                                                                         \
    {WM_NOTIFY, (UINT)(code), (UINT)(first), (UINT)(last), nullptr, &ZvMsg::NotifyRange<fn>},

// Messages by number (handler: LRESULT (WPARAM, LPARAM)).
#define ON_MESSAGE(msg, fn) {(UINT)(msg), 0, 0, 0, nullptr, &ZvMsg::Message<fn>},
#define ON_REGISTERED_MESSAGE(var, fn) {0xC000, 0, 0, 0, &(var), &ZvMsg::Message<fn>},

// Notifications reflected back to the control that sent them. The plain
// forms consume the notification; the _EX forms return TRUE to consume it or
// FALSE to let the parent see it too.
#define ON_NOTIFY_REFLECT(code, fn) {ZV_WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0, nullptr, &ZvMsg::Notify<fn>},
#define ON_NOTIFY_REFLECT_EX(code, fn)                                                                                 \
    {ZV_WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0, nullptr, &ZvMsg::NotifyEx<fn>},
#define ON_CONTROL_REFLECT(code, fn)                                                                                   \
    {ZV_WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, nullptr, &ZvMsg::Command<fn>},
#define ON_CONTROL_REFLECT_EX(code, fn)                                                                                \
    {ZV_WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, nullptr, &ZvMsg::ControlReflectEx<fn>},
