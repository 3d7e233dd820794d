/* Hygrel32: moist-air (psychrometric) properties. Placeholder until the
 * library's functions land. */
#ifndef HYGREL32_H
#define HYGREL32_H
#endif
