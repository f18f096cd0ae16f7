# Reliability figures (run by bench/measure.sh and by hand): start-up, memory, trial cadence,
# idle CPU, and the soak with real timers. The bare window is the reference they stand beside.
add_executable(bench_bare_window bare_window.cpp process_figures.h)
target_link_libraries(bench_bare_window PRIVATE Qt6::Widgets)

add_executable(bench_window_figures bench_window_figures.cpp process_figures.h)
target_link_libraries(bench_window_figures PRIVATE tanabashigo_app)

add_executable(soak_windows soak_windows.cpp process_figures.h)
target_link_libraries(soak_windows PRIVATE tanabashigo_app)
