#pragma once
// The captions of the order buttons by which the client's buy and sell panels are known.
inline constexpr wchar_t kBuyOrderCaption[] = L"买入下单";
inline constexpr wchar_t kSellOrderCaption[] = L"卖出下单";
