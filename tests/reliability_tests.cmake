tanabashigo_add_test(tst_stress tst_stress.cpp form1_fixture.h LIBS tanabashigo_mainwindow)

# Runs the real executable (no display, read-only folder) and the real sound cues.
tanabashigo_add_test(tst_faults tst_faults.cpp LIBS tanabashigo_mainwindow)
target_compile_definitions(tst_faults PRIVATE TANABASHIGO_EXECUTABLE="$<TARGET_FILE:tanabashigo>")
add_dependencies(tst_faults tanabashigo)
