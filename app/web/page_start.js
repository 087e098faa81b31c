// Runs before the module, in its script, which the page loads with async so that neither its
// download nor its compilation holds up the page's first frame.
//
// The module attaches to the window in the page's markup, so main() waits until the page has
// been parsed, should the module be ready first.
Module['preRun'] = [() => {
    if (document.readyState === 'loading') {
        addRunDependency('page');
        document.addEventListener('DOMContentLoaded', () => removeRunDependency('page'));
    }
}];

// The service worker that keeps the page for offline visits, once the page has loaded, so that
// its start and its downloads do not compete with the first visit's. A page opened from a file,
// or a browser without service workers, simply goes without.
if ('serviceWorker' in navigator && window.isSecureContext) {
    const register = () => navigator.serviceWorker.register('service-worker.js').catch(() => {});
    if (document.readyState === 'complete') {
        register();
    } else {
        window.addEventListener('load', register);
    }
}
