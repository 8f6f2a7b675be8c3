#pragma once
// Control ids of the property panel.

namespace torvane {

enum PropControlId {
    kIdPropToolBar = 1100,
    kIdCloseBtn,
    kIdUndoBtn,
    kIdTitle,
    kIdKindList,
    kIdPropPages,
    kIdPropSheet1,  // the four pages follow
    kIdUserID = kIdPropSheet1 + 4,
    kIdPasswd,
    kIdSerial,
    kIdProdKey,
    kIdHint,
    kIdAnswer,
    kIdPassBtn,
    kIdPassHidden,
    kIdSerSplit,
    kIdKeySplit,
    kIdLastDateInfo,
    kIdFirstDate,
    kIdLimitDate,
    kIdShopName,
    kIdPrice,
    kIdDoller,
    kIdCompany,
    kIdURLOpenBtn,
    kIdURL,
    kIdSendMailBtn,
    kIdMail,
    kIdMacroHeader,
    kIdMacro,
    kIdSplitter2,
    kIdMemo,
    kIdMacroVal,
};

}  // namespace torvane
