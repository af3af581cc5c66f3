#pragma once

// Thrown by CDataExchange::Fail to stop an exchange; UpdateData turns it into FALSE.
struct DataExchangeFailure {};
