// The few UI Automation client interfaces the caret reader calls, declared
// here because the toolchain's headers carry only the provider side. Each
// interface lists its methods in the order of the system's interface
// definition up to the last one called; the methods never called are
// declared only to hold their places in the table, without parameters.
// A place out of order would call the wrong method: keep the order.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace quillom::pipeline::uia {

// {ff48dba4-60ef-4201-aa87-54103eef594e}
inline constexpr CLSID kClassAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
// {e22ad333-b25f-460c-83d0-0581107395c9}: also offers Automation2 (Windows 8 and later).
inline constexpr CLSID kClassAutomation8 = {
    0xe22ad333, 0xb25f, 0x460c, {0x83, 0xd0, 0x05, 0x81, 0x10, 0x73, 0x95, 0xc9}};
// {30cbe57d-d9d0-452a-ab13-7ac5ac4825ee}
inline constexpr IID kIidAutomation = {0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
// {34723aff-0c9d-49d0-9896-7ab52df8cd8a}
inline constexpr IID kIidAutomation2 = {0x34723aff, 0x0c9d, 0x49d0, {0x98, 0x96, 0x7a, 0xb5, 0x2d, 0xf8, 0xcd, 0x8a}};
// {32eba289-3583-42c9-9c59-3b6d9a1e9b6a}
inline constexpr IID kIidTextPattern = {0x32eba289, 0x3583, 0x42c9, {0x9c, 0x59, 0x3b, 0x6d, 0x9a, 0x1e, 0x9b, 0x6a}};
// {506a921a-fcc9-409f-b23b-37eb74106872}
inline constexpr IID kIidTextPattern2 = {0x506a921a, 0xfcc9, 0x409f, {0xb2, 0x3b, 0x37, 0xeb, 0x74, 0x10, 0x68, 0x72}};

inline constexpr int kTextPatternId = 10014;
inline constexpr int kTextPattern2Id = 10024;
inline constexpr int kControlTypePropertyId = 30003;
inline constexpr int kIsPasswordPropertyId = 30019;

enum TextPatternRangeEndpoint { EndpointStart = 0, EndpointEnd = 1 };
enum TextUnit { UnitCharacter = 0 };

#define QUILLOM_UIA_UNUSED(name) virtual HRESULT STDMETHODCALLTYPE name() = 0;

struct Element;

struct TextRange : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Clone(TextRange** clone) = 0;
    QUILLOM_UIA_UNUSED(Compare)
    QUILLOM_UIA_UNUSED(CompareEndpoints)
    QUILLOM_UIA_UNUSED(ExpandToEnclosingUnit)
    QUILLOM_UIA_UNUSED(FindAttribute)
    QUILLOM_UIA_UNUSED(FindText)
    QUILLOM_UIA_UNUSED(GetAttributeValue)
    QUILLOM_UIA_UNUSED(GetBoundingRectangles)
    QUILLOM_UIA_UNUSED(GetEnclosingElement)
    virtual HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* text) = 0;
    QUILLOM_UIA_UNUSED(Move)
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(TextPatternRangeEndpoint endpoint, TextUnit unit, int count,
                                                         int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByRange(TextPatternRangeEndpoint endpoint, TextRange* range,
                                                          TextPatternRangeEndpoint targetEndpoint) = 0;
};

struct TextRangeArray : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Length(int* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetElement(int index, TextRange** range) = 0;
};

struct TextPattern : IUnknown {
    QUILLOM_UIA_UNUSED(RangeFromPoint)
    QUILLOM_UIA_UNUSED(RangeFromChild)
    virtual HRESULT STDMETHODCALLTYPE GetSelection(TextRangeArray** ranges) = 0;
    QUILLOM_UIA_UNUSED(GetVisibleRanges)
    QUILLOM_UIA_UNUSED(get_DocumentRange)
    QUILLOM_UIA_UNUSED(get_SupportedTextSelection)
};

struct TextPattern2 : TextPattern {
    QUILLOM_UIA_UNUSED(RangeFromAnnotation)
    virtual HRESULT STDMETHODCALLTYPE GetCaretRange(BOOL* isActive, TextRange** range) = 0;
};

struct Element : IUnknown {
    QUILLOM_UIA_UNUSED(SetFocus)
    QUILLOM_UIA_UNUSED(GetRuntimeId)
    QUILLOM_UIA_UNUSED(FindFirst)
    QUILLOM_UIA_UNUSED(FindAll)
    QUILLOM_UIA_UNUSED(FindFirstBuildCache)
    QUILLOM_UIA_UNUSED(FindAllBuildCache)
    QUILLOM_UIA_UNUSED(BuildUpdatedCache)
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(int propertyId, VARIANT* value) = 0;
    QUILLOM_UIA_UNUSED(GetCurrentPropertyValueEx)
    QUILLOM_UIA_UNUSED(GetCachedPropertyValue)
    QUILLOM_UIA_UNUSED(GetCachedPropertyValueEx)
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(int patternId, REFIID iid, void** pattern) = 0;
};

// 55 methods; Automation2 adds its own after the last of them.
struct Automation : IUnknown {
    QUILLOM_UIA_UNUSED(CompareElements)
    QUILLOM_UIA_UNUSED(CompareRuntimeIds)
    QUILLOM_UIA_UNUSED(GetRootElement)
    QUILLOM_UIA_UNUSED(ElementFromHandle)
    QUILLOM_UIA_UNUSED(ElementFromPoint)
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(Element** element) = 0;
    QUILLOM_UIA_UNUSED(GetRootElementBuildCache)
    QUILLOM_UIA_UNUSED(ElementFromHandleBuildCache)
    QUILLOM_UIA_UNUSED(ElementFromPointBuildCache)
    QUILLOM_UIA_UNUSED(GetFocusedElementBuildCache)
    QUILLOM_UIA_UNUSED(CreateTreeWalker)
    QUILLOM_UIA_UNUSED(get_ControlViewWalker)
    QUILLOM_UIA_UNUSED(get_ContentViewWalker)
    QUILLOM_UIA_UNUSED(get_RawViewWalker)
    QUILLOM_UIA_UNUSED(get_RawViewCondition)
    QUILLOM_UIA_UNUSED(get_ControlViewCondition)
    QUILLOM_UIA_UNUSED(get_ContentViewCondition)
    QUILLOM_UIA_UNUSED(CreateCacheRequest)
    QUILLOM_UIA_UNUSED(CreateTrueCondition)
    QUILLOM_UIA_UNUSED(CreateFalseCondition)
    QUILLOM_UIA_UNUSED(CreatePropertyCondition)
    QUILLOM_UIA_UNUSED(CreatePropertyConditionEx)
    QUILLOM_UIA_UNUSED(CreateAndCondition)
    QUILLOM_UIA_UNUSED(CreateAndConditionFromArray)
    QUILLOM_UIA_UNUSED(CreateAndConditionFromNativeArray)
    QUILLOM_UIA_UNUSED(CreateOrCondition)
    QUILLOM_UIA_UNUSED(CreateOrConditionFromArray)
    QUILLOM_UIA_UNUSED(CreateOrConditionFromNativeArray)
    QUILLOM_UIA_UNUSED(CreateNotCondition)
    QUILLOM_UIA_UNUSED(AddAutomationEventHandler)
    QUILLOM_UIA_UNUSED(RemoveAutomationEventHandler)
    QUILLOM_UIA_UNUSED(AddPropertyChangedEventHandlerNativeArray)
    QUILLOM_UIA_UNUSED(AddPropertyChangedEventHandler)
    QUILLOM_UIA_UNUSED(RemovePropertyChangedEventHandler)
    QUILLOM_UIA_UNUSED(AddStructureChangedEventHandler)
    QUILLOM_UIA_UNUSED(RemoveStructureChangedEventHandler)
    QUILLOM_UIA_UNUSED(AddFocusChangedEventHandler)
    QUILLOM_UIA_UNUSED(RemoveFocusChangedEventHandler)
    QUILLOM_UIA_UNUSED(RemoveAllEventHandlers)
    QUILLOM_UIA_UNUSED(IntNativeArrayToSafeArray)
    QUILLOM_UIA_UNUSED(IntSafeArrayToNativeArray)
    QUILLOM_UIA_UNUSED(RectToVariant)
    QUILLOM_UIA_UNUSED(VariantToRect)
    QUILLOM_UIA_UNUSED(SafeArrayToRectNativeArray)
    QUILLOM_UIA_UNUSED(CreateProxyFactoryEntry)
    QUILLOM_UIA_UNUSED(get_ProxyFactoryMapping)
    QUILLOM_UIA_UNUSED(GetPropertyProgrammaticName)
    QUILLOM_UIA_UNUSED(GetPatternProgrammaticName)
    QUILLOM_UIA_UNUSED(PollForPotentialSupportedPatterns)
    QUILLOM_UIA_UNUSED(PollForPotentialSupportedProperties)
    QUILLOM_UIA_UNUSED(CheckNotSupported)
    QUILLOM_UIA_UNUSED(get_ReservedNotSupportedValue)
    QUILLOM_UIA_UNUSED(get_ReservedMixedAttributeValue)
    QUILLOM_UIA_UNUSED(ElementFromIAccessible)
    QUILLOM_UIA_UNUSED(ElementFromIAccessibleBuildCache)
};

struct Automation2 : Automation {
    QUILLOM_UIA_UNUSED(get_AutoSetFocus)
    QUILLOM_UIA_UNUSED(put_AutoSetFocus)
    QUILLOM_UIA_UNUSED(get_ConnectionTimeout)
    virtual HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(DWORD milliseconds) = 0;
    QUILLOM_UIA_UNUSED(get_TransactionTimeout)
    virtual HRESULT STDMETHODCALLTYPE put_TransactionTimeout(DWORD milliseconds) = 0;
};

#undef QUILLOM_UIA_UNUSED

}  // namespace quillom::pipeline::uia
