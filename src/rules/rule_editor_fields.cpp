#include "rules/rule_editor_fields.h"

RuleEditorFields prefillRuleEditorFields(const StockRule* rule) {
    RuleEditorFields fields;
    if (!rule) return fields;
    if (rule->MoveStopLossTriggerPrice > 0) fields.moveStopLossTriggerPrice = rule->MoveStopLossTriggerPrice;
    fields.applyMoveStopLoss = rule->ApplyMoveStopLoss ? 1 : 0;
    if (rule->MoveStopLoss > 0) fields.moveStopLoss = rule->MoveStopLoss;
    // Thresholds below 1 open as the defaults, so the editor never offers a near-zero threshold.
    if (rule->Profit >= 1) fields.takeProfit = rule->Profit;
    if (rule->StopLoss >= 1) fields.stopLoss = rule->StopLoss;
    fields.stopLossType = rule->StopLossType;
    fields.takeProfitType = rule->TakeProfitType;
    fields.slipPrice = rule->SlipPrice;
    fields.messageOnly = rule->MessageOnly;
    return fields;
}

RuleEditorFields prefillRuleEditorFields(const RuleTable& rules, const std::wstring& code) {
    auto found = rules.find(code);
    return prefillRuleEditorFields(found == rules.end() ? nullptr : &found->second);
}

void writeRuleEditorFields(const RuleEditorFields& fields, const std::wstring& code, StockRule& rule) {
    rule.StopLoss = fields.stopLoss;
    rule.Profit = fields.takeProfit;
    rule.ApplyMoveStopLoss = fields.applyMoveStopLoss != 0;
    rule.MoveStopLoss = fields.moveStopLoss;
    rule.MoveStopLossTriggerPrice = fields.moveStopLossTriggerPrice;
    rule.Code = code;
    rule.MessageOnly = fields.messageOnly;
    rule.SlipPrice = fields.slipPrice;
    rule.StopLossType = fields.stopLossType;
    rule.TakeProfitType = fields.takeProfitType;
}

StockRule& storeRuleEditorFields(RuleTable& rules, const std::wstring& code, const RuleEditorFields& fields,
                                 float currentPrice) {
    StockRule& rule = rules[code];
    const bool trailingWasOn = rule.ApplyMoveStopLoss;
    writeRuleEditorFields(fields, code, rule);
    // A trailing stop switched on measures its fall from now, not from an old high.
    if (rule.ApplyMoveStopLoss && !trailingWasOn) {
        rule.High = currentPrice > 0 ? currentPrice : 0;
        rule.HasTrigerMoveStopPrice = false;
    }
    return rule;
}
