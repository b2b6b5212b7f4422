#pragma once
// The price of the main window's "加价５％卖出(测试)" order: the current price plus 5 %, on the
// exchange's tick. The raw product is rarely a whole number of fen, and brokers refuse those.
float testSalePrice(float currentPrice);
