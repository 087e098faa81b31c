// Runs before the module: the service worker that keeps the page for offline visits. A page
// opened from a file, or a browser without service workers, simply goes without.
if (typeof navigator !== 'undefined' && 'serviceWorker' in navigator && window.isSecureContext) {
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
}
