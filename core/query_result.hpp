#pragma once
#include <string>

namespace quenlio {

// The decoded fields of one query; each field is shown in one result box.
struct QueryResult {
    std::string DeviceModel;           // 设备型号
    std::string ProductionDate;        // 出厂时间
    std::string SalesRegion;           // 销售地
    std::string Carrier;               // 运营商
    std::string Factory;               // 产地
    std::string AfterSalesReplacement; // 是否售后换机

    bool operator==(const QueryResult&) const = default;
};

} // namespace quenlio
