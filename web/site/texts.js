// The texts of the page's message and input boxes, character for character as the desktop
// shows them (ui/form5.cpp and ui/form3.cpp); tests/web/texts.test.mjs holds the copies equal.
export const Texts = Object.freeze({
    HalfYearMessage: "请输入正确的序列号!",
    HalfYearTitle: "序列号错误！",
    OldSerialMessage: "序列号有误，请核对后重新输入！",
    OldSerialTitle: "错误",
    WarrantyQuestion: "保修查询需要到第三方网站查询，点击“确定”去查询",
    WarrantyTitle: "保修查询",
    WarrantyPasteHint: "查询激活时间，请将查到的“过保时间”粘贴到文本框，如2013-11-11",
    WarrantyPasteTitle: "输入保修截止",
    DateMessage: "请输入正确的日期，如2013-11-11",
    DateTitle: "日期错误",
    ActivationFirstMessage: "请先点击“激活查询”",
    ActivationFirstTitle: "提示",
    PurchasePrompt: "请输入[实际激活时间],一般情况下购买当天激活，【请勿复制】查询网站的购买时间！",
    PurchaseTitle: "输入购买时间",
    VerdictTitle: "查询结果",
});
