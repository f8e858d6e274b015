#include "calc/lnet.h"

#include "calc/constants.h"
#include "core/errors.h"

namespace velkaro {

namespace {

// A value as it is kept and shown: a double, never infinite.
double held(long double x) {
    const double d = static_cast<double>(checkedResult(x));
    checkedResult(d);
    return d;
}

}  // namespace

long double lNetworkFactor(long double z1, long double z2) {
    return checkedSqrt(checkedDivide(z1, z2) - 1.0L);
}

LNetwork designLNetwork(double f, double z1, double z2) {
    const long double n = lNetworkFactor(z1, z2);
    const long double w = kTwoPi * f;
    const long double Z1 = z1;
    const long double Z2 = z2;
    LNetwork r;
    r.highPassL = held(checkedDivide(Z1, w * n));
    r.highPassC = held(checkedDivide(1.0L, w * Z2 * n));
    r.lowPassL = held(checkedDivide(n * Z2, w));
    r.lowPassC = held(checkedDivide(n, w * Z1));
    return r;
}

LNetwork designLowPass(double f, double z1, double z2) {
    const long double n = lNetworkFactor(z1, z2);
    const long double w = kTwoPi * f;
    LNetwork r;
    r.lowPassL = held(checkedDivide(static_cast<long double>(z2) * n, w));
    r.lowPassC = held(checkedDivide(n, w * z1));
    return r;
}

LowPassLosses lowPassLosses(double f, double z1, double z2, double l, double c, double ql,
                            std::optional<double> qc) {
    const long double n = lNetworkFactor(z1, z2);
    const long double w = kTwoPi * f;
    // The load as the network transforms it, not Z2 itself.
    const long double rp = checkedDivide(z1, n * n + 1.0L);
    const long double rl = checkedDivide(w * l, ql);
    const long double u0 = checkedSqrt(4000.0L * rp);

    // The capacitor's loss resistance only when its quality is included; then
    // every sum below runs Rp, RC, RL, Z2 in this order.
    long double rs;
    long double inner;  // Rp + RC + RL
    long double rc = 0.0L;
    if (qc) {
        rc = checkedDivide(1.0L, w * c * *qc);
        rs = rp + rc + rl + z2;
        inner = rp + rc + rl;
    } else {
        rs = rp + rl + z2;
        inner = rp + rl;
    }
    rs = checkedResult(rs);
    const long double i = checkedDivide(u0, rs);
    const long double d = inner - rp;
    const long double s = inner + rp;
    const long double gamma2 = checkedDivide(d * d, s * s);
    const long double p = (1.0L - gamma2) * 1000.0L;
    long double pout = p - i * i * rl;
    if (qc) pout -= i * i * rc;

    LowPassLosses r;
    r.lossDb = held(10.0L * checkedLog10(checkedDivide(1000.0L, pout)));
    r.bandwidth = held(checkedDivide(rs * f, w * l));
    return r;
}

}  // namespace velkaro
