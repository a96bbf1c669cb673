// The translation unit that precompiles the shared headers (cmake/OrmelPch.h,
// cmake/OrmelTestPch.h) once for every target that uses them.
