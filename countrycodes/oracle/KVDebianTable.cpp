#include "countrycodes/oracle/KVDebianTable.h"

#include <phonenumbers/phonemetadata.pb.h>
#include <phonenumbers/phonenumberutil.h>

#include <list>
#include <set>
#include <sstream>
#include <stdexcept>

namespace i18n::phonenumbers {
// Exported by libphonenumber: the serialized PhoneMetadataCollection it was built with.
int metadata_size();
const void* metadata_get();
}  // namespace i18n::phonenumbers

namespace kvcc {

namespace {

using i18n::phonenumbers::PhoneMetadata;
using i18n::phonenumbers::PhoneNumberDesc;
using i18n::phonenumbers::PhoneNumberUtil;

std::string Lengths(const google::protobuf::RepeatedField<int32_t>& lengths) {
    std::string text;
    for (int length : lengths) {
        if (length < 0) continue;  // -1: the kind does not exist in the region
        if (!text.empty()) text += ',';
        text += std::to_string(length);
    }
    return text;
}

void WriteDesc(std::ostringstream& out, const char* kind, const PhoneNumberDesc& desc, bool general) {
    if (!desc.has_national_number_pattern() || desc.national_number_pattern().empty()) return;
    out << "D\t" << kind << '\t' << desc.national_number_pattern() << '\t' << Lengths(desc.possible_length());
    if (general) out << '\t' << Lengths(desc.possible_length_local_only());
    out << '\n';
}

}  // namespace

KVDebianData ReadDebianMetadata() {
    i18n::phonenumbers::PhoneMetadataCollection collection;
    if (!collection.ParseFromArray(i18n::phonenumbers::metadata_get(), i18n::phonenumbers::metadata_size())) {
        throw std::runtime_error("libphonenumber's metadata does not parse");
    }
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    std::set<std::string> regions;
    util.GetSupportedRegions(&regions);
    std::set<int> codes;
    for (const std::string& region : regions) codes.insert(util.GetCountryCodeForRegion(region));

    KVDebianData data;
    std::ostringstream out;
    out << "KVCC 1\n# Debian libphonenumber metadata\n";
    // Regions of a calling code in libphonenumber's own order, which decides which region a
    // number of a shared code belongs to.
    for (int code : codes) {
        std::list<std::string> ordered;
        util.GetRegionCodesForCountryCallingCode(code, &ordered);
        const std::string mainRegion = ordered.front();
        for (const std::string& id : ordered) {
            const PhoneMetadata* m = nullptr;
            for (const PhoneMetadata& candidate : collection.metadata()) {
                if (candidate.id() == id) m = &candidate;
            }
            if (!m) throw std::runtime_error("no metadata for " + id);
            out << "R\t" << id << '\t' << id << '\t' << code << '\t' << (id == mainRegion ? 1 : 0) << '\t'
                << m->international_prefix() << '\t' << m->preferred_international_prefix() << '\t'
                << m->national_prefix() << '\t' << m->national_prefix_for_parsing() << '\t'
                << m->national_prefix_transform_rule() << '\t' << m->leading_digits() << '\n';
            WriteDesc(out, "general", m->general_desc(), true);
            WriteDesc(out, "premium", m->premium_rate(), false);
            WriteDesc(out, "tollfree", m->toll_free(), false);
            WriteDesc(out, "sharedcost", m->shared_cost(), false);
            WriteDesc(out, "voip", m->voip(), false);
            WriteDesc(out, "personal", m->personal_number(), false);
            WriteDesc(out, "pager", m->pager(), false);
            WriteDesc(out, "uan", m->uan(), false);
            WriteDesc(out, "voicemail", m->voicemail(), false);
            WriteDesc(out, "fixed", m->fixed_line(), false);
            WriteDesc(out, "mobile", m->mobile(), false);
            if (m->same_mobile_and_fixed_line_pattern()) out << "S\n";
            if (id == mainRegion) {
                for (const auto& f : m->number_format()) {
                    const int leading = f.leading_digits_pattern_size();
                    out << "F\t" << f.pattern() << '\t' << f.format() << '\t'
                        << (leading ? f.leading_digits_pattern(leading - 1) : std::string()) << '\t'
                        << f.national_prefix_formatting_rule() << '\n';
                }
            }
            std::vector<std::string> examples;
            for (const PhoneNumberDesc* desc : {&m->mobile(), &m->fixed_line(), &m->toll_free(), &m->premium_rate(),
                                                &m->shared_cost(), &m->personal_number(), &m->voip(), &m->pager(),
                                                &m->uan(), &m->voicemail()}) {
                if (desc->has_example_number()) examples.push_back(desc->example_number());
            }
            data.examples.emplace_back(id, std::move(examples));
        }
    }
    out << "END\n";
    data.table = out.str();
    return data;
}

}  // namespace kvcc
