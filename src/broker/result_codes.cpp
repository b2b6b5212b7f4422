#include "broker/result_codes.h"

const wchar_t* resultCodeText(int32_t code) {
    if (code >= 0) return L"成功";
    switch (code) {
        case kIncompleteData:
            return L"数据不完整";
        case kClientNotRunning:
            return L"券商软件还没运行";
        case kPagesNotRecognised:
            return L"无法识别券商软件的买入、卖出或持仓页面";
        case kMainWindowNotFound:
            return L"找不到券商软件主窗口";
        case kToolbarNotFound:
            return L"找不到控制工具栏";
        case kBuyPanelNotFound:
            return L"找不到买入窗口";
        case kSellPanelNotFound:
            return L"找不到卖出窗口";
        case kPositionsPanelNotFound:
            return L"找不到持仓窗口";
        case kOrdersPanelNotFound:
            return L"找不到撤单窗口";
        case kToolbarParentNotFound:
            return L"工具栏父窗口无法找到";
        case kBuyCodeEditNotFound:
            return L"找不到买入代码框";
        case kSellCodeEditNotFound:
            return L"找不到卖出代码框";
        case kBuyOrderButtonNotFound:
            return L"找不到买入下单按钮";
        case kSellOrderButtonNotFound:
            return L"找不到卖出下单按钮";
        case kBuyMaxLabelNotFound:
            return L"找不到最大可买";
        case kSellMaxLabelNotFound:
            return L"找不到最大可卖";
        case kFormWindowGone:
            return L"券商软件的下单窗口已关闭或重建";
        case kClientNotAnswering:
            return L"券商软件没有响应";
        case kOrderButtonNotPressed:
            return L"下单按钮没有按下";
        case kClientElevated:
            return L"券商软件以管理员身份运行, 请以管理员身份运行Halyard";
        case kCancelButtonNotPressed:
            return L"撤单按钮没有按下";
        case kClientTooWide:
            return L"64位的券商软件请使用64位的Halyard";
        case kCancelNotConfirmed:
            return L"撤单未确认";
        case kPriceNotKept:
            return L"券商软件改写了委托价格, 没有下单";
        case kOrderRefused:
            return L"券商拒绝了委托";
        case kClientAsksCaptcha:
            return L"券商软件要求输入验证码, 请在券商软件中输入后再试";
        default:
            return L"未知错误";
    }
}
