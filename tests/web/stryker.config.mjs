// StrykerJS's mutation testing of the page's JavaScript, run from the project's root by
// scripts/mutation. Each sandbox holds what the page is built from; mutation.mjs builds its
// pages once there (the program taken from the pages of build/web) and runs each mutant through
// the worker suite and the page suite in Chromium, the fastest engine.
export default {
    mutate: ['ui/web/*.js', 'ui/web/*.mjs'],
    ignorePatterns: ['/*', '!/ui/', '!/tests/', '!/cmake/', '!/app/'],
    testRunner: 'command',
    commandRunner: { command: 'node tests/web/mutation.mjs run' },
    buildCommand: 'node tests/web/mutation.mjs build',
    concurrency: 2,
    timeoutMS: 20_000, // beyond 1.5 times the dry run: a busy machine slows a suite
    tempDirName: 'build/mutation/sandboxes',
    incrementalFile: 'build/mutation/incremental.json',
    reporters: ['clear-text', 'progress-append-only', 'json'],
    jsonReporter: { fileName: 'build/mutation/mutation.json' },
    clearTextReporter: { allowColor: false, logTests: false },
    thresholds: { high: 97, low: 90, break: null },
};
