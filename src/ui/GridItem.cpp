#include "ui/GridItem.h"

#include "ui/PropertyGridCustomItem.h"

std::string GridItem::Format() const
{
    const bool formatted = mKind == GridKind::Integer || mKind == GridKind::Double || mKind == GridKind::Date ||
                           mKind == GridKind::DateTime;
    return formatted && !mOptions.empty() ? mOptions.front() : std::string();
}

GridEditWay GridItem::EditWay() const
{
    if (mKind == GridKind::Custom) {
        return std::get<std::shared_ptr<CPropertyGridCustomItem>>(mValue)->GetEditWay();
    }
    return EditWayOfKind(mKind);
}
