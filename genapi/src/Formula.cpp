// Evaluation of a compiled formula. Integer formulas compute exactly in 64
// bits (wrapping like the camera's registers, division truncating toward
// zero); a double anywhere makes that operation a double one. Float formulas
// compute in doubles. Bit operations take integers in both.
#include "Formula.h"

#include <cmath>

#include <GenICam/GCException.h>

#include "Excerpt.h"
#include "ValueRef.h"

namespace GenApi {
namespace Detail {

struct Formula::Context {
    std::vector<ValueRef>& mVariables;
    Number mInput;
    bool mIgnoreCache;
    const char* mOwner;
};

namespace {

int64_t Wrap(uint64_t value) { return static_cast<int64_t>(value); }

int64_t IntPower(int64_t base, int64_t exponent)
{
    uint64_t result = 1;
    uint64_t factor = static_cast<uint64_t>(base);
    while (exponent > 0) {
        if (exponent & 1) {
            result *= factor;
        }
        factor *= factor;
        exponent >>= 1;
    }
    return Wrap(result);
}

int64_t ShiftLeft(int64_t value, int64_t count);

int64_t ShiftRight(int64_t value, int64_t count)
{
    if (count < 0) {
        return count < -63 ? 0 : ShiftLeft(value, -count);
    }
    if (count > 63) {
        return value < 0 ? -1 : 0;
    }
    // Sign-propagating, written out because >> of a negative value is not portable C++17.
    return value >= 0 ? value >> count : ~(~value >> count);
}

int64_t ShiftLeft(int64_t value, int64_t count)
{
    if (count < 0) {
        return count < -63 ? (value < 0 ? -1 : 0) : ShiftRight(value, -count);
    }
    return count > 63 ? 0 : Wrap(static_cast<uint64_t>(value) << count);
}

} // namespace

Number Formula::Evaluate(std::vector<ValueRef>& variables, Number input, bool ignoreCache,
                         const char* owner) const
{
    Context context{variables, input, ignoreCache, owner};
    const Number result = Eval(mRoot, context);
    if (result.mIsFloat && std::isnan(result.mFloat)) {
        throw RUNTIME_EXCEPTION("Node '%s': formula '%s' gives no number", owner, Excerpt(mText).c_str());
    }
    return result;
}

Number Formula::Eval(int32_t index, Context& context) const
{
    const Item& item = mItems[static_cast<std::size_t>(index)];
    const bool floats = mMode == Mode::Float;
    auto shape = [floats](Number number) { return floats ? Number::Float(number.AsFloat()) : number; };
    auto truth = [floats](bool value) { return floats ? Number::Float(value ? 1.0 : 0.0) : Number::Int(value ? 1 : 0); };

    switch (item.mOp) {
    case Op::Literal:
        return mLiterals[static_cast<std::size_t>(item.mA)];
    case Op::Input:
        return shape(context.mInput);
    case Op::Variable: {
        ValueRef& variable = context.mVariables[static_cast<std::size_t>(item.mA)];
        switch (item.mAttribute) {
        case Attribute::Min:
            return shape(variable.Min());
        case Attribute::Max:
            return shape(variable.Max());
        case Attribute::Inc:
            return shape(variable.Inc());
        case Attribute::Value:
            break;
        }
        return shape(variable.Get(false, context.mIgnoreCache));
    }
    case Op::Conditional:
        return Eval(Eval(item.mA, context).IsZero() ? item.mC : item.mB, context);
    case Op::LogicalAnd:
        return truth(!Eval(item.mA, context).IsZero() && !Eval(item.mB, context).IsZero());
    case Op::LogicalOr:
        return truth(!Eval(item.mA, context).IsZero() || !Eval(item.mB, context).IsZero());
    case Op::Not:
        return truth(Eval(item.mA, context).IsZero());
    case Op::Plus:
        return Eval(item.mA, context);
    case Op::Negate: {
        const Number a = Eval(item.mA, context);
        return a.mIsFloat ? Number::Float(-a.mFloat) : Number::Int(Wrap(0 - static_cast<uint64_t>(a.mInt)));
    }
    case Op::BitNot:
        return shape(Number::Int(~ToInt64(Eval(item.mA, context), "operand of ~")));
    case Op::Function:
        return shape(Call(item, Eval(item.mA, context), context));
    default:
        break;
    }
    const Number a = Eval(item.mA, context);
    const Number b = Eval(item.mB, context);
    return shape(Binary(item, a, b, context));
}

Number Formula::Binary(const Item& item, Number a, Number b, Context& context) const
{
    const bool ints = !a.mIsFloat && !b.mIsFloat;
    const double x = a.AsFloat();
    const double y = b.AsFloat();
    auto truth = [](bool value) { return Number::Int(value ? 1 : 0); };
    auto divisionByZero = [&]() {
        return RUNTIME_EXCEPTION("Node '%s': division by zero in formula '%s'", context.mOwner,
                                 Excerpt(mText).c_str());
    };
    auto bits = [&](const Number& n) { return ToInt64(n, "operand of a bit operation"); };

    switch (item.mOp) {
    case Op::Add:
        return ints ? Number::Int(Wrap(static_cast<uint64_t>(a.mInt) + static_cast<uint64_t>(b.mInt)))
                    : Number::Float(x + y);
    case Op::Subtract:
        return ints ? Number::Int(Wrap(static_cast<uint64_t>(a.mInt) - static_cast<uint64_t>(b.mInt)))
                    : Number::Float(x - y);
    case Op::Multiply:
        return ints ? Number::Int(Wrap(static_cast<uint64_t>(a.mInt) * static_cast<uint64_t>(b.mInt)))
                    : Number::Float(x * y);
    case Op::Divide:
        if (ints) {
            if (b.mInt == 0) {
                throw divisionByZero();
            }
            return Number::Int(b.mInt == -1 ? Wrap(0 - static_cast<uint64_t>(a.mInt)) : a.mInt / b.mInt);
        }
        if (y == 0.0) {
            throw divisionByZero();
        }
        return Number::Float(x / y);
    case Op::Remainder:
        if (ints) {
            if (b.mInt == 0) {
                throw divisionByZero();
            }
            return Number::Int(b.mInt == -1 ? 0 : a.mInt % b.mInt);
        }
        if (y == 0.0) {
            throw divisionByZero();
        }
        return Number::Float(std::fmod(x, y));
    case Op::Power:
        if (ints && b.mInt >= 0) {
            return Number::Int(IntPower(a.mInt, b.mInt));
        }
        return Number::Float(std::pow(x, y));
    case Op::ShiftLeft:
        return Number::Int(ShiftLeft(bits(a), bits(b)));
    case Op::ShiftRight:
        return Number::Int(ShiftRight(bits(a), bits(b)));
    case Op::BitAnd:
        return Number::Int(bits(a) & bits(b));
    case Op::BitOr:
        return Number::Int(bits(a) | bits(b));
    case Op::BitXor:
        return Number::Int(bits(a) ^ bits(b));
    case Op::Equal:
        return truth(ints ? a.mInt == b.mInt : x == y);
    case Op::NotEqual:
        return truth(ints ? a.mInt != b.mInt : x != y);
    case Op::Less:
        return truth(ints ? a.mInt < b.mInt : x < y);
    case Op::Greater:
        return truth(ints ? a.mInt > b.mInt : x > y);
    case Op::LessEqual:
        return truth(ints ? a.mInt <= b.mInt : x <= y);
    case Op::GreaterEqual:
        return truth(ints ? a.mInt >= b.mInt : x >= y);
    default:
        throw LOGICAL_ERROR_EXCEPTION("Node '%s': formula '%s' holds an unknown operation", context.mOwner,
                                      Excerpt(mText).c_str());
    }
}

Number Formula::Call(const Item& item, Number a, Context& context) const
{
    const double x = a.AsFloat();
    switch (item.mFunction) {
    case Function::Sgn:
        return Number::Int(x > 0 ? 1 : (x < 0 ? -1 : 0));
    case Function::Neg:
        return a.mIsFloat ? Number::Float(-x) : Number::Int(Wrap(0 - static_cast<uint64_t>(a.mInt)));
    case Function::Abs:
        if (!a.mIsFloat) {
            return Number::Int(a.mInt < 0 ? Wrap(0 - static_cast<uint64_t>(a.mInt)) : a.mInt);
        }
        return Number::Float(std::fabs(x));
    case Function::Trunc:
        return a.mIsFloat ? Number::Float(std::trunc(x)) : a;
    case Function::Floor:
        return a.mIsFloat ? Number::Float(std::floor(x)) : a;
    case Function::Ceil:
        return a.mIsFloat ? Number::Float(std::ceil(x)) : a;
    case Function::Round: {
        if (item.mB < 0) {
            return a.mIsFloat ? Number::Float(std::round(x)) : a;
        }
        const int64_t digits = ToInt64(Eval(item.mB, context), "precision of ROUND");
        if (!a.mIsFloat && digits >= 0) {
            return a;
        }
        const double factor = std::pow(10.0, static_cast<double>(digits));
        return Number::Float(std::round(x * factor) / factor);
    }
    case Function::Atan:
        return Number::Float(std::atan(x));
    case Function::Cos:
        return Number::Float(std::cos(x));
    case Function::Sin:
        return Number::Float(std::sin(x));
    case Function::Tan:
        return Number::Float(std::tan(x));
    case Function::Exp:
        return Number::Float(std::exp(x));
    case Function::Ln:
        return Number::Float(std::log(x));
    case Function::Lg:
        return Number::Float(std::log10(x));
    case Function::Sqrt:
        return Number::Float(std::sqrt(x));
    case Function::Asin:
        return Number::Float(std::asin(x));
    case Function::Acos:
        return Number::Float(std::acos(x));
    }
    return a;
}

} // namespace Detail
} // namespace GenApi
